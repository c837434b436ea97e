#pragma once
// The cells of the Xterm screen changed since the last repaint, row by row:
// the rows between the first and the last changed one, and in each of them
// the columns that changed. The owner repaints bands of consecutive changed
// rows, so two distant changes in one frame leave the rows between alone.
#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "emulator/screen.h"

namespace corvane {

// Columns Left..Right of one row, inclusive; empty as TDirtyRect is.
struct TColSpan {
  int Left = kDirtyNone;
  int Right = -1;

  bool Empty() const { return Left > Right; }
};

class TRowDamage {
 public:
  // Rows 0..kCapacity-1 can be marked.
  static constexpr int kCapacity = 256;

  bool Empty() const { return FTop > FBottom; }
  int Top() const { return FTop; }
  int Bottom() const { return FBottom; }
  const TColSpan& Row(int R) const { return FRows[Slot(R)]; }

  // Cells First..Last of row R changed. Text marks here for every piece it
  // writes, so this stays a few instructions.
  void Add(int R, int First, int Last) {
    if (R < FTop) FTop = R;
    if (R > FBottom) FBottom = R;
    TColSpan& row = FRows[Slot(R)];
    if (First < row.Left) row.Left = First;
    if (Last > row.Right) row.Right = Last;
  }
  void Add(int R, int C) { Add(R, C, C); }

  // Rows Top..Bottom changed in every column, Width of them; no change is
  // ever marked further right than a row's width.
  void AddRows(int Top, int Bottom, int Width) {
    if (Top > Bottom) return;
    if (Top < FTop) FTop = Top;
    if (Bottom > FBottom) FBottom = Bottom;
    for (int r = Top; r <= Bottom; ++r) FRows[Slot(r)] = {0, Width - 1};
  }

  // The rows moved up by N (less than kCapacity): changes go up with them,
  // those that left are gone. Top stops at row 0, as a rectangle's does.
  // Only the rows between Top and Bottom hold changes, so every other slot
  // is clear and the rows that come in at the bottom start clear.
  void MoveUp(int N) {
    if (Empty() || N <= 0) return;
    for (int r = FTop; r < N && r <= FBottom; ++r) FRows[Slot(r)] = {};
    FFirst = Slot(N);
    FTop = FTop > N ? FTop - N : 0;
    FBottom -= N;
    if (FBottom < 0) {  // every change left, and its row with it
      FTop = kDirtyNone;
      FBottom = -1;
    }
  }
  void Clear();

  // The bounding rectangle of every change.
  TDirtyRect Bounds() const;

  // Visit(TDirtyRect) for each band of consecutive changed rows among the
  // first Rows, with the columns changed anywhere in the band.
  template <typename F>
  void ForEachBand(int Rows, F&& Visit) const {
    TDirtyRect band;
    for (int r = std::max(FTop, 0); r <= std::min(FBottom, Rows - 1); ++r) {
      const TColSpan& row = Row(r);
      if (row.Empty()) {
        if (!band.Empty()) Visit(std::exchange(band, {}));
        continue;
      }
      band.Add(r, row.Left);
      band.Add(r, row.Right);
    }
    if (!band.Empty()) Visit(band);
  }

 private:
  // A ring: a move up turns it instead of copying every changed row's span,
  // as a line feed at the bottom of a flood of text would otherwise do.
  std::size_t Slot(int R) const { return (FFirst + static_cast<std::size_t>(R)) % kCapacity; }

  std::array<TColSpan, kCapacity> FRows{};
  std::size_t FFirst = 0;  // the slot of row 0
  int FTop = kDirtyNone;
  int FBottom = -1;
};

}  // namespace corvane
