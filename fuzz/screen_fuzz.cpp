// The escape interpreter on any bytes. The first three bytes choose the rows
// and the columns (any value: sizes outside the range are clamped) and the
// modes; in the rest, FF 00 R C changes the size to R rows and C columns
// without clearing, as an owner may, and every other byte goes to FeedChar.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "emulator/screen.h"
#include "fuzz/quiet_platform.h"

namespace {

using corvane::TScreen;

constexpr std::size_t kHeader = 3;
constexpr std::uint8_t kResize[] = {0xFF, 0x00};
constexpr std::size_t kResizeLength = 4;

void Check(bool ok) {
  if (!ok) std::abort();
}

void SetModes(TScreen& screen, std::uint8_t bits) {
  screen.AutoLF = bits & 1;
  screen.AutoCR = bits & 2;
  screen.XlatIn = bits & 4;
  screen.XlatDefault = bits & 8;
  screen.AutoWrap = bits & 16;
  screen.HasFocus = bits & 32;
  screen.XlatTable = (bits & 64) ? &corvane::GraphicsTable : &corvane::AsciiTable;
}

// After every byte the cursor row and the region lie on the screen's rows,
// and the column within the stored cells (it may pass the last shown one).
void CheckCursor(const TScreen& s) {
  Check(s.Cursor.Row >= 0 && s.Cursor.Row < s.Rows());
  Check(s.Cursor.Col >= 0 && s.Cursor.Col <= corvane::kMaxCols);
  Check(s.Region.Top >= 0 && s.Region.Top <= s.Region.Bottom && s.Region.Bottom < s.Rows());
  Check(s.SeqBuf().size() <= std::size_t{corvane::kSeqCapacity});
}

// Scrolling reorders the row pointers: each stored line is still used once.
void CheckRowsDistinct(const TScreen& s) {
  std::array<corvane::TLine*, corvane::kLineCount> rows = s.Lines;
  std::sort(rows.begin(), rows.end());
  Check(std::adjacent_find(rows.begin(), rows.end()) == rows.end());
}

bool IsResize(const std::uint8_t* at, const std::uint8_t* end) {
  return end - at >= static_cast<std::ptrdiff_t>(kResizeLength) && at[0] == kResize[0] && at[1] == kResize[1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::fuzz::QuietPlatform();
  if (size < kHeader) return 0;
  TScreen screen;
  screen.SetRows(data[0]);
  screen.SetCols(data[1]);
  SetModes(screen, data[2]);
  screen.ClearScreen();
  const std::uint8_t* end = data + size;
  for (const std::uint8_t* at = data + kHeader; at < end;) {
    if (IsResize(at, end)) {
      screen.SetRows(at[2]);
      screen.SetCols(at[3]);
      at += kResizeLength;
    } else {
      screen.FeedChar(*at++);
    }
    CheckCursor(screen);
  }
  CheckRowsDistinct(screen);
  return 0;
}
