#include "platform/code_page_1252.h"

#include <array>

namespace corvane::platform {
namespace {

constexpr char32_t kUnassigned = 0;

// The characters of the codes 0x80-0x9F; the others are their own Unicode.
constexpr std::array<char32_t, 32> kWindowsPictures{
    U'\u20AC',   kUnassigned, U'\u201A', U'\u0192', U'\u201E', U'\u2026',   U'\u2020', U'\u2021',    // 0x80
    U'\u02C6',   U'\u2030',   U'\u0160', U'\u2039', U'\u0152', kUnassigned, U'\u017D', kUnassigned,  // 0x88
    kUnassigned, U'\u2018',   U'\u2019', U'\u201C', U'\u201D', U'\u2022',   U'\u2013', U'\u2014',    // 0x90
    U'\u02DC',   U'\u2122',   U'\u0161', U'\u203A', U'\u0153', kUnassigned, U'\u017E', U'\u0178',    // 0x98
};

}  // namespace

int Cp1252FromUnicode(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<int>(ch);
  for (std::size_t i = 0; i < kWindowsPictures.size(); ++i)
    if (kWindowsPictures[i] == ch) return static_cast<int>(0x80 + i);
  return -1;
}

}  // namespace corvane::platform
