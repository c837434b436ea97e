#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/ini_reader.h"

using corvane::platform::FindIniValue;
using corvane::platform::kMaxIniLine;

namespace {

const std::string kLongValue(100000, 'v');

const std::string kIni = std::string("Rows=1\r\n") +
                         "[Host.Example]\r\n"
                         "  Rows = 30  \r\n"
                         "FONTNAME=\"Courier New\"\r\n"
                         "; Cols=99\r\n"
                         "Cols\r\n"
                         "Cols='132'\r\n"
                         "Cols=80\r\n"
                         "Quote=\"half\r\n"
                         "Long=" + kLongValue + "\r\n"
                         "After=long line\r\n"
                         "Nul=a" + std::string(1, '\0') + "b\n"
                         "[ other ]\n"
                         "Rows=40\n"
                         "[broken\n"
                         "Rows=41\n"
                         "[host.example]\n"
                         "Xlat=1";

TEST(IniReader, FindsValuesWithTheProfileRules) {
  struct Case {
    const char *section, *key;
    std::optional<std::string> value;
  };
  const std::vector<Case> cases = {
      {"Host.Example", "Rows", "30"},          // blanks around key and value
      {"HOST.EXAMPLE", "fontname", "Courier New"},  // case; one pair of quotes
      {"Host.Example", "Cols", "132"},         // the first key wins; comments and lines without "=" skipped
      {"Host.Example", "Quote", "\"half"},     // unmatched quotes stay
      {"Host.Example", "After", "long line"},  // a line longer than the bound ends where it ends
      {"Host.Example", "Nul", std::string("a\0b", 3)},
      {"Host.Example", "Xlat", "1"},           // a second section of the same name, last line without LF
      {"other", "Rows", "40"},
      {"broken", "Rows", std::nullopt},        // no closing bracket: no section
      {"Host.Example", "Missing", std::nullopt},
      {"Nowhere", "Rows", std::nullopt},       // keys before any section belong to none
  };
  for (const Case& c : cases) {
    std::istringstream in(kIni);
    EXPECT_EQ(FindIniValue(in, c.section, c.key), c.value) << c.section << " " << c.key;
  }
  std::istringstream in(kIni);
  EXPECT_EQ(FindIniValue(in, "host.example", "long")->size(), kMaxIniLine - 5);
}

TEST(IniReader, AnEmptyOrBinaryInputHasNoValues) {
  std::istringstream empty("");
  EXPECT_FALSE(FindIniValue(empty, "a", "b"));
  std::string binary(5000, '\xff');
  binary[2500] = '[';
  std::istringstream noise(binary);
  EXPECT_FALSE(FindIniValue(noise, "a", "b"));
}

}  // namespace
