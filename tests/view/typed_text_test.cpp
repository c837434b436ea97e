// Typed and pasted characters as code page 1252 bytes, the same on every
// platform.
#include "emulator/typed_text.h"

#include <gtest/gtest.h>

#include "platform/code_page_1252.h"

namespace corvane {
namespace {

TEST(TypedText, EveryAssignedCodeComesBackAndTheRestIsMissing) {
  const std::u32string windows =
      U"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D"
      U"\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178";
  const std::string codes =
      "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99"
      "\x9A\x9B\x9C\x9E\x9F";
  ASSERT_EQ(windows.size(), codes.size());
  for (std::size_t i = 0; i < windows.size(); ++i)
    EXPECT_EQ(platform::Cp1252FromUnicode(windows[i]), static_cast<unsigned char>(codes[i])) << i;
  for (char32_t ch = 0; ch < 0x100; ++ch)
    EXPECT_EQ(platform::Cp1252FromUnicode(ch), ch >= 0x80 && ch < 0xA0 ? -1 : static_cast<int>(ch))
        << static_cast<int>(ch);
  for (char32_t ch : {U'\u2500', U'\u263C', U'\u0100', U'\U0001F600', U'\uFFFD'})
    EXPECT_EQ(platform::Cp1252FromUnicode(ch), -1) << static_cast<long>(ch);
}

TEST(TypedText, PastedTextBecomesCodePage1252WithCrLfAndQuestionMarks) {
  EXPECT_EQ(PastedBytes(U"a\nb\r\nc\u00E9\u00FC\u2500\u20AC\u263A\U0001F600\x1B\u0081\n"),
            "a\r\nb\r\nc\xE9\xFC?\x80??\x1B?\r\n");
  EXPECT_EQ(TypedByte(U'\u00E9'), '\xE9');
  EXPECT_EQ(TypedByte(U'\u2500'), '?');
}

}  // namespace
}  // namespace corvane
