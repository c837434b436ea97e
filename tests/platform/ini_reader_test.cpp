#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ini_reader.h"

using corvane::platform::FindIniValue;

namespace {

const std::string kIni =
    "Rows=1\r\n[Host.Example]\r\n  Rows = 30  \r\nFONTNAME=\"Courier New\"\r\n; Cols=99\r\n"
    "Cols\r\nCols='132'\r\nCols=80\r\nQuote=\"half\r\nLong=" +
    std::string(100000, 'v') + "\r\nAfter=x\r\n[ other ]\nRows=40\n[broken\nRows=41\n[host.example]\nXlat=1";

// Blanks and one pair of quotes go, comments and lines without "=" are
// skipped, the first key wins, a long line keeps 1024 bytes and ends where
// it ends, a section without "]" is none, the last line needs no LF.
TEST(IniReader, FindsValuesWithTheProfileRules) {
  const std::vector<std::tuple<const char*, const char*, std::optional<std::string>>> cases = {
      {"Host.Example", "Rows", "30"},
      {"HOST.EXAMPLE", "fontname", "Courier New"},
      {"Host.Example", "Cols", "132"},
      {"Host.Example", "Quote", "\"half"},
      {"Host.Example", "Long", std::string(1019, 'v')},
      {"Host.Example", "After", "x"},
      {"host.example", "Xlat", "1"},
      {"other", "Rows", "40"},
      {"broken", "Rows", std::nullopt},
      {"Host.Example", "Missing", std::nullopt},
      {"Nowhere", "Rows", std::nullopt},
      {"", "Rows", std::nullopt}};
  for (const auto& [section, key, value] : cases) {
    std::istringstream in(kIni);
    EXPECT_EQ(FindIniValue(in, section, key), value) << section << " " << key;
  }
}

// A byte-order mark that an editor put before the first section hides
// nothing; anywhere else it is text.
TEST(IniReader, SkipsAByteOrderMarkAtTheStartOnly) {
  const std::vector<std::tuple<std::string, const char*, std::optional<std::string>>> cases = {
      {"\xEF\xBB\xBF[h]\nRows=3\n", "h", "3"},
      {"\xEF\xBB\xBFRows=1\n[h]\nRows=3\n", "h", "3"},
      {"\xEF\xBB\xBF\n[h]\nRows=4\n", "h", "4"},
      {"[g]\n\xEF\xBB\xBF[h]\nRows=5\n", "h", std::nullopt},
      {"\xEF\xBB[h]\nRows=6\n", "h", std::nullopt}};
  for (const auto& [text, section, value] : cases) {
    std::istringstream in(text);
    EXPECT_EQ(FindIniValue(in, section, "Rows"), value) << text;
  }
}

}  // namespace
