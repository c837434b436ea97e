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

TEST(TypedText, XtermCharactersGoInTheHostsCharset) {
  const std::u32string text = U"a\n\u00E9\u00FF\u2500\U0001F600\u20AC\u2302";
  EXPECT_EQ(PastedBytes(text, TCharset::Utf8),
            "a\r\n\xC3\xA9\xC3\xBF\xE2\x94\x80\xF0\x9F\x98\x80\xE2\x82\xAC\xE2\x8C\x82");
  EXPECT_EQ(PastedBytes(text, TCharset::Latin1), "a\r\n\xE9\xFF????");
  EXPECT_EQ(PastedBytes(text, TCharset::Cp437), "a\r\n\x82\x98\xC4???");  // the house would be DEL
  EXPECT_EQ(TypedBytes(U'\xD800', TCharset::Utf8), "\xEF\xBF\xBD");
  EXPECT_EQ(TypedBytes(U'\x1B', TCharset::Cp437), "\x1B");
}

TEST(TypedText, ABracketedPasteCannotEndItsBracketEarly) {
  const struct {
    std::string_view Pasted, Sent;
  } cases[] = {
      {"", "\x1b[200~\x1b[201~"},
      {"ls\r\n", "\x1b[200~ls\r\n\x1b[201~"},
      {"a\x1b[201~rm -rf\r\n", "\x1b[200~arm -rf\r\n\x1b[201~"},
      {"\x1b[200~x\x1b[201~", "\x1b[200~x\x1b[201~"},
      {"\x1b[20\x1b[201~1~", "\x1b[200~\x1b[201~"},  // the inner one out, the outer one formed and out
      {"\x1b[202~ ~", "\x1b[200~\x1b[202~ ~\x1b[201~"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BracketedPaste(c.Pasted), c.Sent) << testing::PrintToString(std::string(c.Pasted));
}

}  // namespace
}  // namespace corvane
