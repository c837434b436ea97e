#include "platform/code_page_437.h"

#include <gtest/gtest.h>

#include <set>

namespace corvane::platform {
namespace {

TEST(CodePage437Test, EveryCodeHasItsOwnPictureAndHighCodesComeBack) {
  std::set<char32_t> pictures;
  for (int code = 1; code < 256; ++code) pictures.insert(Cp437ToUnicode(static_cast<std::uint8_t>(code)));
  EXPECT_EQ(pictures.size(), 255u);
  for (int code = 0x7F; code < 256; ++code)
    EXPECT_EQ(Cp437FromPicture(Cp437ToUnicode(static_cast<std::uint8_t>(code))), code) << code;
  EXPECT_EQ(Cp437ToUnicode(0x00), U' ');
  EXPECT_EQ(Cp437ToUnicode(0x03), U'\u2665');
  EXPECT_EQ(Cp437ToUnicode(0x41), U'A');
  EXPECT_EQ(Cp437ToUnicode(0x82), U'\u00E9');
  EXPECT_EQ(Cp437ToUnicode(0xC4), U'\u2500');
  EXPECT_EQ(Cp437FromPicture(U'\u263A'), -1);  // a control code's picture
}

TEST(CodePage437Test, CopiedBytesBecomeWhatTheScreenShowedWithLinuxLineEnds) {
  EXPECT_EQ(ClipboardTextFromCp437("\xDA\xC4\xBF\r\n\x82t\x82\x03\t\r\x01"),
            U"\u250C\u2500\u2510\n\u00E9t\u00E9\u2665\t\r\u263A");
}

}  // namespace
}  // namespace corvane::platform
