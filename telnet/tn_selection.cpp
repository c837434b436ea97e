// Marking a rectangle of text with the mouse: the first move of a drag sets
// the anchor on the cell grid, later moves draw an inverting rubber band, the
// release makes it the view's selection frame. A drag against the top or
// bottom edge scrolls the view a row per move, the anchor going with its row.
#include <algorithm>
#include <vector>

#include "emulator/pixel_math.h"
#include "telnet/tnzuzeri.h"

namespace corvane {
namespace {
// The frame reaches this far below the last row, as the view paints it.
constexpr int kFrameBelow = 4;
}  // namespace

void TTnZuzeRI::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto alive = Watch();
  TZuzeRI::MouseDown(Button, Shift, X, Y);
  if (!alive) return;
  FMouseDown = true;
  if (FFocusDrawn) {
    DrawFocusRect();
    FFocusDrawn = false;
  }
  if (FSelectRect.Top == -1) return;
  FFocusRect.Top = -1;
  SetSelection(FFocusRect);
  Window().RepaintNow();
}

void TTnZuzeRI::MouseMove(TShiftState Shift, int X, int Y) {
  const auto alive = Watch();
  TZuzeRI::MouseMove(Shift, X, Y);
  if (!alive || !FMouseDown) return;
  if (!FMouseCaptured) {
    StartDrag(X, Y);
    return;
  }
  const int edge = EdgeScroll(Y);
  if (edge == 0 && X == FAnchorX && Y == AnchorY()) return;
  if (FFocusDrawn) DrawFocusRect();
  FFocusDrawn = false;
  if (edge != 0) {
    ScrollHistory(edge);
    Window().RepaintNow();
  }
  FFocusRect = {FAnchorX, AnchorY(), pixel::Add(SnapPixelX(X), CharWidth()),
                pixel::Add(pixel::Add(SnapPixelY(Y), LineHeight()), kFrameBelow)};
  DrawFocusRect();
  FFocusDrawn = true;
}

// The pointer stays inside the client area, left of the scroll strip.
void TTnZuzeRI::StartDrag(int X, int Y) {
  Window().SetMouseCapture();
  FMouseCaptured = true;
  FAnchorY = SnapPixelY(Y);
  FAnchorX = SnapPixelX(X);
  FAnchorTop = ShownTopRow();
  const platform::TRect client = Window().ClientRect();
  Window().ConfinePointer({0, 0, pixel::Sub(client.Right, VScrollBar().Width), client.Bottom});
}

// Rows to scroll for a pointer at Y: back at the top edge while older rows
// are kept, forward at the bottom edge while the view is back.
int TTnZuzeRI::EdgeScroll(int Y) {
  if (Y <= 0 && ScrollOffset() < HistoryRows()) return 1;
  if (Y >= Window().ClientRect().Bottom - 1 && ScrollOffset() > 0) return -1;
  return 0;
}

// Where the anchor's row is now: above the client area once scrolled past it.
int TTnZuzeRI::AnchorY() const { return pixel::Add(FAnchorY, pixel::Mul(RowsMovedSince(FAnchorTop), LineHeight())); }

// A frame narrower than a cell or lower than a line (a drag to the left of or
// above the anchor) selects nothing.
void TTnZuzeRI::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto alive = Watch();
  TZuzeRI::MouseUp(Button, Shift, X, Y);
  if (!alive) return;
  FMouseDown = false;
  if (FMouseCaptured) {
    Window().ReleaseMouseCapture();
    FMouseCaptured = false;
    Window().ReleasePointer();
  }
  if (!FFocusDrawn) return;
  DrawFocusRect();
  FFocusDrawn = false;
  if (pixel::Sub(FFocusRect.Right, FFocusRect.Left) < CharWidth() ||
      pixel::Sub(FFocusRect.Bottom, FFocusRect.Top) < LineHeight())
    FFocusRect.Top = -1;
  SetSelection(FFocusRect);
  Window().RepaintNow();
}

// Inverting: drawing the same frame again removes it.
void TTnZuzeRI::DrawFocusRect() { Window().WindowCanvas()->FocusRect(FFocusRect); }

// Cells of the selection frame, counted from the first row shown now (rows
// above it negative); rows and columns that the model (of `Rows` lines of
// `Cols` cells) did not have when marked are left out.
TTnZuzeRI::TCellRange TTnZuzeRI::SelectedCells(int Rows, int Cols) const {
  const int moved = RowsMovedSince(FSelectTop);
  return {FrameRow(FSelectRect.Top) + moved, std::min(PixelToRow(FSelectRect.Bottom) - 1, Rows - 1) + moved,
          PixelToCol(FSelectRect.Left), std::min(PixelToCol(FSelectRect.Right) - 1, Cols - 1)};
}

// Each character needs room for itself and the closing 0 byte; a CR LF is
// added only with room for one more character after it.
int TTnZuzeRI::GetSelectedText(char* Buffer, int Size) const {
  if (Buffer == nullptr || Size < 1) return 0;
  Buffer[0] = 0;
  if (FSelectRect.Top == -1) return 0;
  const TCellRange cells = SelectedCells(kLineCount, kLineCells);
  int count = 0;
  int remaining = Size;
  for (int row = cells.FirstRow; row <= cells.LastRow && remaining >= 2; ++row) {
    const TLine& line = ShownLine(row);
    for (int col = cells.FirstCol; col <= cells.LastCol && remaining >= 2; ++col, --remaining)
      Buffer[count++] = static_cast<char>(line.Chars[col]);
    if (row == cells.LastRow || remaining < 4) break;
    Buffer[count++] = '\r';
    Buffer[count++] = '\n';
    remaining -= 2;
  }
  Buffer[count] = 0;
  return count;
}

std::string TTnZuzeRI::SelectedText() const {
  int size = 1;
  if (FSelectRect.Top != -1) {
    const TCellRange cells = SelectedCells(kLineCount, kLineCells);
    const int rows = std::max(0, cells.LastRow - cells.FirstRow + 1);
    const int cols = std::max(0, cells.LastCol - cells.FirstCol + 1);
    size += rows * cols + 2 * std::max(0, rows - 1);
  }
  std::vector<char> buffer(static_cast<std::size_t>(size));
  return std::string(buffer.data(), static_cast<std::size_t>(GetSelectedText(buffer.data(), size)));
}

// The Xterm screen's text as shown, kept rows included: the second cell of a
// wide character adds nothing, a cell of a double-width row is the two
// columns it covers on the window, and rows are separated by CR LF as the
// classic copy has them.
std::u32string TTnZuzeRI::XtermSelectedText() const {
  std::u32string text;
  const TXtermScreen& xterm = *Xterm();
  if (FSelectRect.Top == -1) return text;
  const TCellRange cells = SelectedCells(xterm.Rows(), xterm.Cols());
  for (int row = cells.FirstRow; row <= cells.LastRow; ++row) {
    if (row > cells.FirstRow) text += U"\r\n";
    const TXtermRow& line = ShownXtermRow(row);
    const int screenRow = row - ScrollOffset();  // kept rows are shown single-width
    const bool doubled = screenRow >= 0 && xterm.LineSize(screenRow) != TXtermLineSize::Single;
    const int first = doubled ? cells.FirstCol / 2 : cells.FirstCol;
    const int last = doubled ? std::min(cells.LastCol / 2, xterm.RowCols(screenRow) - 1) : cells.LastCol;
    for (int col = first; col <= last; ++col)
      if (const TXtermCell& cell = line[static_cast<std::size_t>(col)]; (cell.Flags & kXWideTail) == 0 && cell.Ch != 0)
        text += xterm.CellText(cell);
  }
  return text;
}

void TTnZuzeRI::CopySelection(platform::TClipboardPort& Clipboard) const {
  if (Xterm() != nullptr)
    Clipboard.SetUnicodeText(XtermSelectedText());
  else
    Clipboard.SetText(SelectedText());
}

}  // namespace corvane
