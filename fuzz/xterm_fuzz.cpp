// The Xterm parser and screen on any bytes. The first three bytes choose the
// rows, the columns and the character set; in the rest, FF 00 R C resizes the
// screen to R rows and C columns, as a window resize does, and every other
// run of bytes is fed as one read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "emulator/xterm_screen.h"

namespace {

using corvane::TXtermCell;
using corvane::TXtermScreen;

constexpr std::size_t kHeader = 3;
constexpr std::size_t kResizeLength = 4;

void Check(bool ok) {
  if (!ok) std::abort();
}

// The cursor and the region lie on the screen, the kept rows within their
// bound, and every wide character has its tail beside it (and every tail its
// lead).
void CheckScreen(const TXtermScreen& s) {
  Check(s.Cursor().Row >= 0 && s.Cursor().Row < s.Rows());
  Check(s.Cursor().Col >= 0 && s.Cursor().Col < s.Cols());
  Check(s.Region().Top >= 0 && s.Region().Top <= s.Region().Bottom && s.Region().Bottom < s.Rows());
  Check(s.History().Size() <= s.History().Capacity() && s.History().Reserved() <= 64);
  for (int r = 0; r < s.Rows(); ++r) {
    Check(static_cast<int>(s.Row(r).size()) == s.Cols());
    for (int c = 0; c < s.Cols(); ++c) {
      const TXtermCell& cell = s.Cell(r, c);
      if ((cell.Flags & corvane::kXWide) != 0)
        Check(c + 1 < s.Cols() && (s.Cell(r, c + 1).Flags & corvane::kXWideTail) != 0);
      if ((cell.Flags & corvane::kXWideTail) != 0) Check(c > 0 && (s.Cell(r, c - 1).Flags & corvane::kXWide) != 0);
    }
  }
}

bool IsResize(const std::uint8_t* at, const std::uint8_t* end) {
  return end - at >= static_cast<std::ptrdiff_t>(kResizeLength) && at[0] == 0xFF && at[1] == 0x00;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  TXtermScreen screen(data[0], data[1] * 2);
  screen.SetCharset(static_cast<corvane::TCharset>(data[2] % 3));
  screen.SetScrollback(data[2] / 3 % 64);
  screen.SetHooks({[](std::string_view) {}, [](std::string_view) {}, [] {}, [] {}});
  const std::uint8_t* end = data + size;
  for (const std::uint8_t* at = data + kHeader; at < end;) {
    if (IsResize(at, end)) {
      screen.Resize(at[2], at[3] * 2);
      at += kResizeLength;
    } else {
      const std::uint8_t* next = at + 1;
      while (next < end && !IsResize(next, end)) ++next;
      screen.Feed({reinterpret_cast<const char*>(at), static_cast<std::size_t>(next - at)});
      at = next;
    }
    CheckScreen(screen);
  }
  return 0;
}
