// The marked selection belongs to its rows: numbered for good (kept rows then
// screen rows), its frame follows them as the view scrolls or output pushes
// them up, and leaves the picture when they leave the view.
#include <algorithm>

#include "emulator/pixel_math.h"
#include "emulator/terminal_view.h"

namespace corvane {
namespace {
// Farther than any row the view can show: all kept rows and a screen.
constexpr std::int64_t kFarRows = 2 * std::int64_t{kMaxScrollback};
// A frame cut by the window's edge ends just outside it, so no edge shows there.
constexpr int kCutEdge = 2;
}  // namespace

int TCustomZuzeRI::FrameRow(int Y) const {
  const int offset = pixel::Sub(Y, kTopMargin);
  const int row = pixel::Div(offset, FLineHeight);
  return offset < 0 && row * FLineHeight != offset ? row - 1 : row;
}

std::int64_t TCustomZuzeRI::ShownTopRow() const {
  const std::int64_t dropped = FXterm ? FXterm->History().Dropped() : FScreen->History.Dropped();
  return dropped + HistoryRows() - FScrollOffset;
}

int TCustomZuzeRI::RowsMovedSince(std::int64_t Top) const {
  return static_cast<int>(std::clamp(Top - ShownTopRow(), -kFarRows, kFarRows));
}

void TCustomZuzeRI::SetSelection(const platform::TRect& Frame) {
  FSelectRect = Frame;
  FSelectTop = ShownTopRow();
  FSelectSeenTop = FSelectTop;
}

platform::TRect TCustomZuzeRI::SelectionFrame() const {
  constexpr platform::TRect kNone{-1, -1, -1, -1};
  if (FSelectRect.Top == -1) return kNone;
  const std::int64_t shift = std::int64_t{RowsMovedSince(FSelectTop)} * FLineHeight;
  if (shift == 0) return FSelectRect;
  const std::int64_t top = FSelectRect.Top + shift;
  const std::int64_t bottom = FSelectRect.Bottom + shift;
  const int clientBottom = FWindow->ClientRect().Bottom;
  if (bottom <= 0 || top >= clientBottom) return kNone;
  return {FSelectRect.Left, static_cast<int>(std::max<std::int64_t>(top, -kCutEdge)), FSelectRect.Right,
          static_cast<int>(std::min<std::int64_t>(bottom, std::int64_t{clientBottom} + kCutEdge))};
}

// The old frame may lie outside the cells that changed, so a move repaints all.
bool TCustomZuzeRI::SelectionMoved() {
  const std::int64_t top = ShownTopRow();
  const bool moved = FSelectRect.Top != -1 && top != FSelectSeenTop;
  FSelectSeenTop = top;
  return moved;
}

}  // namespace corvane
