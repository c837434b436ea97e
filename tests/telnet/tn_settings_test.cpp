// Per-host settings from an INI file that the test writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "telnet/tn_settings.h"
#include "telnet/tnzuzeri.h"
#include "tests/view/support/view_rig.h"

namespace corvane::tntest {
namespace {

namespace fs = std::filesystem;

TEST(ProfileInteger, DecimalOrHexadecimalElseTheDefault) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"42", 42},       {" -7 ", -7},    {"+3", 3},        {"0x1F", 31},     {"0X1f", 31},
      {"$10", 16},      {"-$10", -16},   {"007", 7},       {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},  {"2147483648", 99}, {"0x80000000", 99},
      {"", 99},         {"0x", 99},      {"$", 99},        {"12abc", 99},    {"1.5", 99},
      {"--5", 99},      {"$-5", 99},     {"0x+5", 99},     {"- 5", 99},      {"yes", 99}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ProfileInteger(text, 99), value) << text;
}

const char* const kIni =
    "[hex]\n"
    "FontName=Courier New\nFontSize=0x0A\nFontPitch=$1\nFontStyle=0x1F\n"
    "LineHeight=$10\nRows=0x14\nCols=$40\nFKeys=0X2\nAutoCR=0x1\nAutoLF=$2\n"
    "LocalEcho=1\nMonoChrome=1\nUpperLock=1\nXlat=1\nAutoWrap=1\n"
    "[garbage]\n"
    "FontSize=big\nFontPitch=fixed\nLineHeight=twelve\nRows=25x\nCols=\nFKeys=1.5\n"
    "AutoLF=yes\nUpperLock=-1\n"
    "[star]\n"
    "FontName=*\nFontSize=20\nRows=10\nFontPitch=2\n"
    "[range]\n"
    "Rows=51\nCols=0\nLineHeight=0\n"
    "[RANGE2]\n"
    "rows=-3\ncols=1000\n";

class LoadSettings : public ::testing::Test {
 protected:
  LoadSettings() : file(fs::temp_directory_path() / "cv-settings-test.ini") {
    std::ofstream(file) << kIni;
    term.IniFilename = file.string();
  }
  ~LoadSettings() override { fs::remove(file); }

  // Every setting that LoadSettings touches, in one line.
  std::string Describe() {
    const platform::TFont& f = term.Font();
    const char* pitch[] = {"default", "fixed", "variable"};
    return f.Name + "/" + std::to_string(f.Size) + "/" + pitch[static_cast<int>(f.Pitch)] + "/" +
           std::to_string(f.Style) + " lh=" + std::to_string(term.LineHeight()) +
           " rows=" + std::to_string(term.Rows()) + " cols=" + std::to_string(term.Cols()) +
           " fkeys=" + std::to_string(term.FKeys) + " cr=" + std::to_string(term.AutoCR()) +
           std::to_string(term.AutoLF()) + " echo=" + std::to_string(term.LocalEcho) +
           std::to_string(term.MonoChrome) + std::to_string(term.UpperLock) +
           std::to_string(term.Xlat()) + std::to_string(term.AutoWrap());
  }
  // Settings that differ from every default, so that defaults show.
  void Scramble() {
    platform::TFont kept;
    kept.Name = "Kept";
    kept.Size = 7;
    term.SetFont(kept);
    term.SetRows(40);
    term.SetCols(100);
    term.SetLineHeight(30);
    term.FKeys = 0;
    term.SetAutoCR(true);
    term.LocalEcho = term.UpperLock = true;
    term.SetXlat(true);
    term.SetAutoWrap(true);
  }

  fs::path file;
  recording::TViewRig rig{{8, 14, 2}};
  TTnZuzeRI term{rig.Ports()};
};

// The font is fixed pitch whatever the file says; a font change remeasures
// (14-pixel cells here) before LineHeight is read.
TEST_F(LoadSettings, EachSectionGivesItsValuesOrTheDefaults) {
  struct Case { const char *host, *settings; };
  const std::vector<Case> cases = {
      {"hex", "Courier New/10/fixed/15 lh=16 rows=20 cols=64 fkeys=2 cr=11 echo=11111"},
      {"garbage", "Terminal/9/fixed/0 lh=12 rows=25 cols=80 fkeys=1 cr=00 echo=00100"},
      {"star", "Kept/7/fixed/0 lh=12 rows=10 cols=80 fkeys=1 cr=00 echo=00000"},
      {"range", "Terminal/9/fixed/0 lh=1 rows=50 cols=1 fkeys=1 cr=00 echo=00000"},
      {"Range2", "Terminal/9/fixed/0 lh=12 rows=1 cols=132 fkeys=1 cr=00 echo=00000"},
      {"missing", "Terminal/9/fixed/0 lh=12 rows=25 cols=80 fkeys=1 cr=00 echo=00000"},
  };
  for (const Case& c : cases) {
    Scramble();
    term.HostName = c.host;
    term.LoadSettings();
    EXPECT_EQ(Describe(), c.settings) << c.host;
  }
}

TEST_F(LoadSettings, AMissingFileGivesTheDefaultsAndNoHostChangesNothing) {
  Scramble();
  term.HostName = "hex";
  term.IniFilename = (fs::temp_directory_path() / "cv-no-such-file.ini").string();
  term.LoadSettings();
  EXPECT_EQ(Describe(), "Terminal/9/fixed/0 lh=12 rows=25 cols=80 fkeys=1 cr=00 echo=00000");

  Scramble();
  const std::string before = Describe();
  term.HostName = "";
  term.IniFilename = file.string();
  term.LoadSettings();
  EXPECT_EQ(Describe(), before);
}

TEST_F(LoadSettings, TheShippedExampleFileReadsAsItsCommentsSay) {
  term.IniFilename = CV_SAMPLE_INI;
  const std::vector<std::pair<const char*, const char*>> hosts = {
      {"127.0.0.1", "Kept/7/fixed/0 lh=12 rows=25 cols=80 fkeys=1 cr=00 echo=00000"},
      {"LOCALHOST", "Terminal/9/fixed/0 lh=12 rows=25 cols=80 fkeys=1 cr=00 echo=00001"},
      {"oldhost.example", "Terminal/9/fixed/0 lh=12 rows=50 cols=132 fkeys=0 cr=00 echo=00100"}};
  for (const auto& [host, settings] : hosts) {
    Scramble();
    term.HostName = host;
    term.LoadSettings();
    EXPECT_EQ(Describe(), settings) << host;
  }
}

}  // namespace
}  // namespace corvane::tntest
