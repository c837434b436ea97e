// Updates at the display's pace: a write after a quiet frame updates at once
// (a typed key's echo shows without delay) and starts the frame clock; later
// writes within the frame only mark the update due, and each tick makes one
// update of everything that changed since the last. A tick with nothing due
// stops the clock. When the whole screen scrolled, the rows' pixels move up
// and only the changed rows are painted again.
#include <algorithm>

#include "emulator/pixel_math.h"
#include "emulator/terminal_view.h"

namespace corvane {

void TCustomZuzeRI::RequestUpdate() {
  if (Streaming()) {
    FUpdateDue = true;
    return;
  }
  UpdateScreen();
  if (FFrameClock == nullptr) return;
  FFrameClock->Start([this] { FrameTick(); });
  FClockRunning = true;
}

void TCustomZuzeRI::FrameTick() {
  if (FUpdateDue)
    UpdateScreen();
  else
    StopFrameClock();
}

void TCustomZuzeRI::StopFrameClock() {
  if (!Streaming()) return;
  FFrameClock->Stop();
  FClockRunning = false;
}

// The picture on the window must be the screen's before the scroll: not the
// rows kept back there, nor one with a selection's frame over it, and rows
// must be left to keep. Otherwise the caller repaints all. Only the rows the
// window shows whole move (a row cut by its bottom edge is painted as margin),
// and the rows the move uncovers there are painted again.
bool TCustomZuzeRI::MovePixels(const TDirtyRect& Dirty, int Scrolled) {
  const int whole = std::min(Rows(), pixel::Div(pixel::Sub(FWindow->ClientRect().Bottom, 2 * kTopMargin), FLineHeight));
  if (FScrollOffset != 0 || FSelectRect.Top != -1 || Scrolled >= whole || Dirty.Top <= 0) return false;
  platform::TRect rows = RowBand(CellY(0));
  rows.Bottom = RowBand(CellY(whole - 1)).Bottom;
  if (ScrollBarShown()) {
    const TStripLayout strip = StripLayout();
    rows.Right = std::min(rows.Right, strip.Track.Left);
    FWindow->Invalidate(strip.Track);  // the thumb moves as rows are kept
  }
  HideCaret();  // the update shows it again at the cursor
  FWindow->ScrollPixels(rows, -pixel::Mul(Scrolled, FLineHeight));
  if (whole < Rows()) FWindow->Invalidate({rows.Left, RowBand(CellY(whole - Scrolled)).Top, rows.Right, rows.Bottom});
  return true;
}

int TCustomZuzeRI::PendingScroll() const { return FXterm ? FXterm->ScrolledUp : FScreen->ScrolledUp; }

}  // namespace corvane
