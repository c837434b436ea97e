#pragma once
// The floor the emulations are measured against: the least a byte-at-a-time
// terminal must do (store printable bytes in a 25x80 grid, CR, LF with
// scrolling, a cursor).
#include <cstring>
#include <string>

namespace corvane::bench {

class TFloorGrid {
 public:
  TFloorGrid() { std::memset(FCells, ' ', sizeof FCells); }

  void Feed(const std::string& Bytes) {
    for (unsigned char ch : Bytes) {
      if (ch >= 0x20) {
        FLine[FCol] = ch;
        if (FCol < 79) ++FCol;
      } else if (ch == '\r') {
        FCol = 0;
      } else if (ch == '\n') {
        LineFeed();
      }
    }
  }

 private:
  // Rows form a ring, so scrolling blanks one row instead of moving all.
  void LineFeed() {
    if (FRow < 24) {
      ++FRow;
    } else {
      FTop = (FTop + 1) % 25;
      std::memset(FCells[(FTop + 24) % 25], ' ', 80);
    }
    FLine = FCells[(FTop + FRow) % 25];
  }

  unsigned char FCells[25][80];
  unsigned char* FLine = FCells[0];
  int FRow = 0, FCol = 0, FTop = 0;
};

}  // namespace corvane::bench
