#include "emulator/row_damage.h"

namespace corvane {

// Only the rows between Top and Bottom can hold a change.
void TRowDamage::Clear() {
  for (int r = std::max(FTop, 0); r <= FBottom; ++r) FRows[Slot(r)] = {};
  FTop = kDirtyNone;
  FBottom = -1;
}

TDirtyRect TRowDamage::Bounds() const {
  TDirtyRect bounds;
  if (Empty()) return bounds;
  bounds.Top = FTop;
  bounds.Bottom = FBottom;
  for (int r = FTop; r <= FBottom; ++r) {
    bounds.Left = std::min(bounds.Left, Row(r).Left);
    bounds.Right = std::max(bounds.Right, Row(r).Right);
  }
  return bounds;
}

}  // namespace corvane
