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

static_assert(static_cast<int>(platform::TGlyphScale::TallBottom) == static_cast<int>(TXtermLineSize::TallBottom));

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

// On a double-width row the cursor stands on the left of its doubled cell.
TCellPos TCustomZuzeRI::CursorCell() const {
  if (!FXterm) return FScreen->Cursor;
  TCellPos at = FXterm->Cursor();
  if (FXterm->LineSize(at.Row) != TXtermLineSize::Single) at.Col = std::min(at.Col * 2, FXterm->Cols() - 1);
  return at;
}

bool TCustomZuzeRI::CursorShown() const { return FXterm ? FXterm->Modes().CursorVisible : !FScreen->CursorHidden; }

// The classic screen's changes are one rectangle; the Xterm screen's are
// kept by row, so distant changes leave the rows between them alone.
void TCustomZuzeRI::TakeChanges(TDirtyRect& Dirty, bool& All, int& Scrolled) {
  FChangedBands.clear();
  if (FXterm) {
    Dirty = FXterm->Dirty.Bounds();
    FXterm->Dirty.ForEachBand(FXterm->Rows(), [this](TDirtyRect Band) {
      WidenForLineSizes(Band);
      FChangedBands.push_back(Band);
    });
    FXterm->Dirty.Clear();
    Scrolled = std::exchange(FXterm->ScrolledUp, 0);
    All = false;
    return;
  }
  Dirty = FScreen->Dirty;
  if (!Dirty.Empty()) FChangedBands.push_back(Dirty);
  Scrolled = FScreen->ScrolledUp;
  All = FScreen->RepaintAll && Scrolled == 0;
  FScreen->ResetDirty();
}

TRGB TCustomZuzeRI::MarginColour() const {
  if (!FXterm) return FColorTable[FScreen->Attr >> 4];
  return XtermColorTable[FXterm->Modes().ReverseScreen ? kXtermDefaultFg : kXtermDefaultBg];
}

const TColorTable& TCustomZuzeRI::Palette() const { return FXterm ? XtermColorTable : FColorTable; }

// A change on a double-width row covers twice as many columns on the window.
void TCustomZuzeRI::WidenForLineSizes(TDirtyRect& Dirty) const {
  for (int r = std::max(Dirty.Top, 0); r <= std::min(Dirty.Bottom, FXterm->Rows() - 1); ++r) {
    if (FXterm->LineSize(r) == TXtermLineSize::Single) continue;
    Dirty.Right = FXterm->Cols() - 1;
    return;
  }
}

void TCustomZuzeRI::PaintXtermLine(TCanvasPort& dc, int y, int Row) {
  const TXtermRow& line = ShownXtermRow(Row);
  // Kept rows are shown single-size; a screen row keeps its size.
  const int screenRow = Row - FScrollOffset;
  FRunSize = screenRow >= 0 ? FXterm->LineSize(screenRow) : TXtermLineSize::Single;
  const int cols = screenRow >= 0 ? FXterm->RowCols(screenRow) : FXterm->Cols();
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
  bool clusters = false;
  for (int c = s; c < e; ++c) {
    const char32_t ch = Line[static_cast<std::size_t>(c)].Ch;
    clusters = clusters || ch >= kXCluster;
    FRunCells.push_back(ch >= kXCluster ? U' ' : ch);
  }
  // A double-width row's cells are two columns of the window each.
  const bool single = FRunSize == TXtermLineSize::Single;
  const int k = single ? 1 : 2;
  const bool last = e * k >= FXterm->Cols() - (k - 1);  // an odd column left over is the last run's
  const int x = CellX(s * k);
  const TRect opaque{s == 0 ? 0 : x, pixel::Add(y, FInternalLeading),
                     last ? pixel::Add(CellX(FXterm->Cols()), kRightMargin) : CellX(e * k),
                     pixel::Add(pixel::Add(y, FLineHeight), FInternalLeading)};
  const TRGB text = MonoChrome ? TRGB{0, 0, 0} : XtermColorTable[static_cast<std::size_t>(fg)];
  const TRGB background = MonoChrome ? TRGB{255, 255, 255} : XtermColorTable[static_cast<std::size_t>(bg)];
  const bool underline = (look.Flags & kXUnderline) != 0;
  if (single)
    dc.CellRun(x, y, FCharWidth, opaque, FRunCells, text, background, underline);
  else
    dc.ScaledCellRun(x, y, FCharWidth * 2, opaque, FRunCells, text, background, underline,
                     static_cast<platform::TGlyphScale>(FRunSize));
  if (clusters) PaintClusters(dc, y, Line, s, e, text);
}

// Cells with combining marks were left blank in their run; their text goes
// over them whole, for the font to compose. On a double-width row it is
// drawn at the normal size.
void TCustomZuzeRI::PaintClusters(TCanvasPort& dc, int y, const TXtermRow& Line, int s, int e, TRGB Colour) {
  const int k = FRunSize == TXtermLineSize::Single ? 1 : 2;
  for (int c = s; c < e; ++c)
    if (const TXtermCell& cell = Line[static_cast<std::size_t>(c)]; cell.Ch >= kXCluster)
      dc.ClusterText(CellX(c * k), y, FXterm->CellText(cell), Colour);
}

}  // namespace corvane
