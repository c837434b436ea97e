// The terminal view's work for the Xterm emulation: its screen's size,
// cursor and changes, and painting its Unicode cells as runs of one look.
#include <algorithm>

#include "emulator/pixel_math.h"
#include "emulator/terminal_view.h"
#include "emulator/xterm_colours.h"

namespace corvane {
namespace {
using platform::TCanvasPort;
using platform::TRect;
using platform::TRGB;

constexpr std::uint8_t kLookFlags = kXBold | kXUnderline | kXReverse | kXInvisible;

bool SameLook(const TXtermCell& A, const TXtermCell& B) {
  return A.Fg == B.Fg && A.Bg == B.Bg && (A.Flags & kLookFlags) == (B.Flags & kLookFlags);
}
}  // namespace

void TCustomZuzeRI::SetEmulation(TEmulation Value) {
  if (Value == Emulation()) return;
  FXterm = Value == TEmulation::Xterm ? std::make_unique<TXtermScreen>(FScreen->Rows(), FScreen->Cols()) : nullptr;
  if (FXterm) FXterm->SetCharset(FCharset);
  if (FXterm) FXterm->SetScrollback(FScrollback);
  FScrollOffset = 0;
  FWindow->Invalidate(FWindow->ClientRect());
  if (FCaretCreated) MoveCaret();
  EmulationChanged();
}

void TCustomZuzeRI::SetCharset(TCharset Value) {
  FCharset = Value;
  if (FXterm) FXterm->SetCharset(Value);
}

void TCustomZuzeRI::ResizeXterm(int ARows, int ACols) {
  if (std::clamp(ARows, 1, kXtermMaxRows) == FXterm->Rows() && std::clamp(ACols, 1, kXtermMaxCols) == FXterm->Cols())
    return;
  FXterm->Resize(ARows, ACols);
  FWindow->RepaintNow();
  if (FCaretCreated) MoveCaret();
  GridResized();
}

TCellPos TCustomZuzeRI::CursorCell() const { return FXterm ? FXterm->Cursor() : FScreen->Cursor; }

bool TCustomZuzeRI::CursorShown() const { return FXterm ? FXterm->Modes().CursorVisible : !FScreen->CursorHidden; }

void TCustomZuzeRI::TakeChanges(TDirtyRect& Dirty, bool& All) {
  if (FXterm) {
    Dirty = std::exchange(FXterm->Dirty, {});
    All = false;
    return;
  }
  Dirty = FScreen->Dirty;
  All = FScreen->RepaintAll;
  FScreen->ResetDirty();
}

TRGB TCustomZuzeRI::MarginColour() const {
  if (!FXterm) return FColorTable[FScreen->Attr >> 4];
  return XtermColorTable[FXterm->Modes().ReverseScreen ? kXtermDefaultFg : kXtermDefaultBg];
}

const TColorTable& TCustomZuzeRI::Palette() const { return FXterm ? XtermColorTable : FColorTable; }

void TCustomZuzeRI::PaintXtermLine(TCanvasPort& dc, int y, int Row) {
  const TXtermRow& line = ShownXtermRow(Row);
  const int cols = FXterm->Cols();
  for (int s = 0; s < cols;) {
    int e = s + 1;
    while (e < cols && SameLook(line[static_cast<std::size_t>(e)], line[static_cast<std::size_t>(s)])) ++e;
    PaintXtermRun(dc, y, line, s, e);
    s = e;
  }
}

// Bold draws colours 0-7 bright; reverse (of the cell, of the screen, or
// both cancelling) exchanges the colours; invisible text takes the background.
void TCustomZuzeRI::PaintXtermRun(TCanvasPort& dc, int y, const TXtermRow& Line, int s, int e) {
  const TXtermCell& look = Line[static_cast<std::size_t>(s)];
  int fg = look.Fg;
  int bg = look.Bg;
  if ((look.Flags & kXBold) != 0 && fg < 8) fg += 8;
  if (((look.Flags & kXReverse) != 0) != FXterm->Modes().ReverseScreen) std::swap(fg, bg);
  if ((look.Flags & kXInvisible) != 0) fg = bg;
  FRunCells.clear();
  for (int c = s; c < e; ++c) FRunCells.push_back(Line[static_cast<std::size_t>(c)].Ch);
  const int x = CellX(s);
  const TRect opaque{s == 0 ? 0 : x, pixel::Add(y, FInternalLeading),
                     pixel::Add(CellX(e), e >= FXterm->Cols() ? kRightMargin : 0),
                     pixel::Add(pixel::Add(y, FLineHeight), FInternalLeading)};
  const TRGB text = MonoChrome ? TRGB{0, 0, 0} : XtermColorTable[static_cast<std::size_t>(fg)];
  const TRGB background = MonoChrome ? TRGB{255, 255, 255} : XtermColorTable[static_cast<std::size_t>(bg)];
  dc.CellRun(x, y, FCharWidth, opaque, FRunCells, text, background, (look.Flags & kXUnderline) != 0);
}

}  // namespace corvane
