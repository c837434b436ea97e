// Painting: every pixel of the text rows is drawn by opaque text runs and
// margin fills, so invalidation never needs a background erase.
#include <algorithm>

#include "emulator/pixel_math.h"
#include "emulator/terminal_view.h"

namespace corvane {
namespace {
using platform::TCanvasPort;
using platform::TRect;
using platform::TRGB;

constexpr int kPaintedLines = kMaxRows;
constexpr TRGB kBlack{0, 0, 0};
constexpr TRGB kWhite{255, 255, 255};
constexpr TRGB kGrey{127, 127, 127};
constexpr TRGB kDefaultBrush = kWhite;

void Fill(TCanvasPort& dc, const TRect& rect, TRGB color) {
  if (!rect.Empty()) dc.FillRect(rect, color);
}
}  // namespace

void TCustomZuzeRI::PaintRequest(TCanvasPort* dc) {
  TRect update;
  if (!FWindow->UpdateRect(update)) return;
  if (PendingScroll() > 0) FPaintedAhead = true;
  if (dc != nullptr) {
    PaintCanvas(*dc, update);
    return;
  }
  TRect P;
  const std::unique_ptr<TCanvasPort> bracket = FWindow->BeginPaint(P);
  PaintCanvas(*bracket, P);
}

void TCustomZuzeRI::PaintCanvas(TCanvasPort& dc, const TRect& P) {
  TRGB margin = kDefaultBrush;
  if (!MonoChrome) {
    dc.RealizePalette(Palette());
    margin = MarginColour();
  }
  const TRect R = FWindow->ClientRect();

  const int k = std::max(0, pixel::Sub(pixel::Div(pixel::Sub(P.Top, kTopMargin), FLineHeight), 1));
  int y = CellY(k);
  if (P.Top <= kTopMargin) {
    const TRect band{P.Left, P.Top, P.Right, pixel::Add(kTopMargin, FInternalLeading)};
    Fill(dc, band, margin);
    if (k == 0 && FInternalLeading > 0) Fill(dc, band, margin);
  }

  dc.SelectFont(FFont);
  // The classic view paints every stored row the window has room for; the
  // Xterm view its rows, and the margin below them.
  const int painted = FXterm ? FXterm->Rows() : kPaintedLines;
  int n = pixel::Add(k, FTopLine);
  for (; n < painted; ++n) {
    if (pixel::Add(y, FLineHeight) > pixel::Sub(R.Bottom, kTopMargin)) {
      Fill(dc, {0, y, pixel::Sub(R.Right, 2), pixel::Sub(R.Bottom, 2)}, margin);
      break;
    }
    PaintRow(dc, y, n);
    y = pixel::Add(y, FLineHeight);
    if (y > P.Bottom) break;
  }
  if (FXterm && n >= painted && y <= P.Bottom)
    Fill(dc, {0, pixel::Add(y, FInternalLeading), pixel::Sub(R.Right, 2), pixel::Sub(R.Bottom, 2)}, margin);

  const int textRight = CellX(Cols());
  if (textRight < pixel::Sub(R.Right, 2))
    Fill(dc, {textRight, kTopMargin, pixel::Sub(R.Right, 2), pixel::Sub(R.Bottom, 2)}, margin);

  PaintScrollBar(dc);
  PaintSelection(dc);
  dc.RestoreFont();
}

// The Xterm view updates bands of rows that may lie far apart within one
// update rectangle, so it paints only the rows inside the update region;
// the classic view paints every row from the one above the rectangle down.
void TCustomZuzeRI::PaintRow(TCanvasPort& dc, int y, int Row) {
  const TRect band = RowBand(y);
  if (FXterm && !dc.RectVisible(band)) return;
  dc.BeginRow(band);
  if (FXterm)
    PaintXtermLine(dc, y, Row);
  else
    PaintLine(dc, y, ShownLine(Row));
  dc.EndRow();
}

// What the runs of a row paint together: the row's cells with the margins
// beside them.
TRect TCustomZuzeRI::RowBand(int y) const {
  return {0, pixel::Add(y, FInternalLeading), pixel::Add(CellX(Cols()), kRightMargin),
          pixel::Add(pixel::Add(y, FLineHeight), FInternalLeading)};
}

void TCustomZuzeRI::PaintLine(TCanvasPort& dc, int y, const TLine& Line) {
  const int cols = FScreen->Cols();
  for (int s = 0; s < cols;) {
    int e = s + 1;
    while (e < cols && Line.Attrs[e] == Line.Attrs[s]) ++e;
    PaintRun(dc, y, Line, s, e);
    s = e;
  }
}

void TCustomZuzeRI::PaintRun(TCanvasPort& dc, int y, const TLine& Line, int s, int e) {
  const std::uint8_t a = Line.Attrs[s];
  TRGB background;
  TRGB text;
  if (MonoChrome) {
    background = a >= 15 ? kGrey : kWhite;
    text = (a & 0x0F) != 0 ? kBlack : kWhite;
  } else {
    background = FColorTable[a >> 4];
    text = FColorTable[a & 0x0F];
  }
  const int x = CellX(s);
  const TRect opaque{s == 0 ? 0 : x, pixel::Add(y, FInternalLeading),
                     pixel::Add(CellX(e), e >= FScreen->Cols() ? kRightMargin : 0),
                     pixel::Add(pixel::Add(y, FLineHeight), FInternalLeading)};
  const std::string_view chars(reinterpret_cast<const char*>(Line.Chars.data()) + s, static_cast<std::size_t>(e - s));
  dc.TextRun(x, y, opaque, chars, text, background);
}

// A black frame on the selection's edge and a white one just outside it, so
// the frame shows on every background.
void TCustomZuzeRI::PaintSelection(TCanvasPort& dc) {
  const TRect r = SelectionFrame();
  if (r.Top == -1) return;
  dc.Frame({r.Left, r.Top, pixel::Add(r.Right, 1), pixel::Sub(r.Bottom, 1)}, kBlack);
  dc.Frame({pixel::Sub(r.Left, 1), pixel::Sub(r.Top, 1), pixel::Add(r.Right, 2), r.Bottom}, kWhite);
}

}  // namespace corvane
