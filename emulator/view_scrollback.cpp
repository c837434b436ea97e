// The view's scrollback: how far back it shows, the rows it shows there, the
// wheel, Shift+PgUp/PgDn and the scroll bar painted in the right strip.
#include <algorithm>

#include "emulator/pixel_math.h"
#include "emulator/terminal_view.h"

namespace corvane {
namespace {
constexpr int kWheelNotch = 120;  // one notch of a wheel, as both platforms count it
constexpr int kRowsPerNotch = 3;
constexpr int vkShift = 16, vkControl = 17, vkMenu = 18;
constexpr int vkPrior = 33, vkNext = 34;
constexpr platform::TRGB kTrackColour{48, 48, 48};
constexpr platform::TRGB kThumbColour{160, 160, 160};

const TLine& BlankLine() {
  static const TLine blank;
  return blank;
}
}  // namespace

void TCustomZuzeRI::SetScrollback(int Lines) {
  FScrollback = std::clamp(Lines, 0, kMaxScrollback);
  FScreen->History.SetCapacity(FScrollback);
  if (FXterm) FXterm->SetScrollback(FScrollback);
  FScrollOffset = std::min(FScrollOffset, HistoryRows());
  FWindow->Invalidate(FWindow->ClientRect());
}

int TCustomZuzeRI::HistoryRows() const { return FXterm ? FXterm->History().Size() : FScreen->History.Size(); }

void TCustomZuzeRI::ScrollHistory(int Rows) {
  const int target = std::clamp(pixel::Add(FScrollOffset, Rows), 0, HistoryRows());
  if (target == FScrollOffset) return;
  FScrollOffset = target;
  FWindow->Invalidate(FWindow->ClientRect());
  // The caret belongs to the screen's cursor, which is out of sight back there.
  if (FScrollOffset > 0)
    HideCaret();
  else if (CursorShown())
    ShowCaret();
  MoveCaret();
}

// A wheel that reports parts of a notch moves by whole rows once they add up;
// turning back starts afresh.
void TCustomZuzeRI::WheelTurned(int Delta) {
  constexpr int kWheelLimit = kWheelNotch * kMaxScrollback;  // more than any view can move
  if ((Delta > 0) != (FWheelRest > 0)) FWheelRest = 0;
  FWheelRest = std::clamp(FWheelRest + std::clamp(Delta, -kWheelLimit, kWheelLimit), -kWheelLimit, kWheelLimit);
  const int notches = FWheelRest / kWheelNotch;
  FWheelRest -= notches * kWheelNotch;
  ScrollHistory(notches * kRowsPerNotch);
}

const TLine& TCustomZuzeRI::ShownLine(int V) const {
  const int r = V - FScrollOffset;
  if (r >= 0) return *FScreen->Lines[static_cast<std::size_t>(std::min(r, kLineCount - 1))];
  const TScrollback<TLine>& kept = FScreen->History;
  return kept.Size() + r >= 0 ? kept.At(kept.Size() + r) : BlankLine();
}

// A row kept before the columns changed is shown cut or padded to the
// screen's width; a wide character cut in half leaves a blank.
const TXtermRow& TCustomZuzeRI::ShownXtermRow(int V) const {
  const int r = V - FScrollOffset;
  if (r >= 0) return FXterm->Row(std::min(r, FXterm->Rows() - 1));
  const TScrollback<TXtermRow>& kept = FXterm->History();
  const auto cols = static_cast<std::size_t>(FXterm->Cols());
  if (kept.Size() + r < 0) {
    FFittedRow.assign(cols, TXtermCell{});
    return FFittedRow;
  }
  const TXtermRow& row = kept.At(kept.Size() + r);
  if (row.size() == cols) return row;
  FFittedRow = row;
  FFittedRow.resize(cols);
  if ((FFittedRow.back().Flags & kXWide) != 0) FFittedRow.back() = TXtermCell{};
  return FFittedRow;
}

// Shift+PgUp pages back while rows are kept, Shift+PgDn forward while the
// view is back; with nothing to page through they go to the host as before.
// Any other key but a modifier returns to the bottom and goes on as well.
bool TCustomZuzeRI::HistoryKey(const TKeyDown& Key) {
  if (Key.Vk == vkShift || Key.Vk == vkControl || Key.Vk == vkMenu) return false;
  if (Key.Shift == ssShift && Key.Vk == vkPrior && HistoryRows() > 0) {
    ScrollHistory(Rows());
    return true;
  }
  if (Key.Shift == ssShift && Key.Vk == vkNext && FScrollOffset > 0) {
    ScrollHistory(-Rows());
    return true;
  }
  ScrollToBottom();
  return false;
}

bool TCustomZuzeRI::ScrollBarShown() const { return FScrollback > 0 && HistoryRows() > 0; }

TStripLayout TCustomZuzeRI::StripLayout() const {
  const platform::TRect client = FWindow->ClientRect();
  const platform::TRect strip{pixel::Sub(client.Right, FVScrollBar.Width), client.Top, client.Right, client.Bottom};
  return LayStrip(strip, HistoryRows(), Rows(), FScrollOffset);
}

void TCustomZuzeRI::PaintScrollBar(platform::TCanvasPort& dc) {
  if (!ScrollBarShown()) return;
  const TStripLayout strip = StripLayout();
  dc.FillRect(strip.Track, kTrackColour);
  dc.FillRect(strip.Thumb, kThumbColour);
}

// A press on the track pages towards it; one on the thumb starts dragging it.
bool TCustomZuzeRI::StripPressed(int X, int Y) {
  if (!ScrollBarShown()) return false;
  const TStripLayout strip = StripLayout();
  if (!strip.Track.Contains(X, Y)) return false;
  if (Y < strip.Thumb.Top) {
    ScrollHistory(Rows());
  } else if (Y >= strip.Thumb.Bottom) {
    ScrollHistory(-Rows());
  } else {
    FStripGrab = Y - strip.Thumb.Top;
    FWindow->SetMouseCapture();
  }
  return true;
}

void TCustomZuzeRI::StripDragged(int Y) {
  const int back = BackAtThumbTop(StripLayout(), HistoryRows(), pixel::Sub(Y, FStripGrab));
  ScrollHistory(back - FScrollOffset);
}

}  // namespace corvane
