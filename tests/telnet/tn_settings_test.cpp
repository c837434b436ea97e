// Per-host settings from INI files: one the test writes, the shipped
// example, and a missing one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "telnet/tn_settings.h"
#include "telnet/tnzuzeri.h"
#include "tests/support/temp_ini.h"
#include "tests/view/support/view_rig.h"

namespace corvane::tntest {
namespace {

namespace fs = std::filesystem;

// Numbers beyond 32 bits saturate, so that the settings' ranges clamp them.
TEST(ProfileInteger, DecimalOrHexadecimalElseTheDefault) {
  constexpr int kMax = 2147483647, kMin = -2147483647 - 1;
  const std::vector<std::pair<const char*, int>> cases = {{"42", 42},
                                                          {" -7 ", -7},
                                                          {"+3", 3},
                                                          {"0x1F", 31},
                                                          {"0X1f", 31},
                                                          {"$10", 16},
                                                          {"-$10", -16},
                                                          {"007", 7},
                                                          {"-2147483648", kMin},
                                                          {"2147483648", kMax},
                                                          {"0x80000000", kMax},
                                                          {"999999999999", kMax},
                                                          {"99999999999999999999999999999", kMax},
                                                          {"-0xFFFFFFFFFFFFFFFFFFFF", kMin},
                                                          {"", 99},
                                                          {"0x", 99},
                                                          {"$", 99},
                                                          {"12abc", 99},
                                                          {"1.5", 99},
                                                          {"--5", 99},
                                                          {"$-5", 99},
                                                          {"0x+5", 99},
                                                          {"12a", 99},
                                                          {"yes", 99}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ProfileInteger(text, 99), value) << text;
}

const char* const kIni =
    "[hex]\nFontName=Courier New\nFontSize=0x0A\nFontStyle=0x1F\nLineHeight=$10\nRows=0x14\nCols=$40\n"
    "FKeys=0X2\nAutoCR=0x1\nAutoLF=$2\nLocalEcho=1\nMonoChrome=1\nUpperLock=1\nXlat=1\nAutoWrap=1\n"
    "[garbage]\nFontSize=big\nLineHeight=twelve\nRows=25x\nCols=\nFKeys=1.5\nAutoLF=yes\nUpperLock=-1\n"
    "[star]\nFontName=*\nFontSize=20\nRows=10\n"
    "[range]\nRows=51\nCols=0\nLineHeight=0\n[RANGE2]\nrows=-3\ncols=1000\n"
    "[edge]\nRows=999999999999\nCols=-99999999999999999999\nFontSize=10000\nLineHeight=2147483647\n"
    "[edge2]\nFontSize=-5\nLineHeight=-2147483648\nCols=0x7FFFFFFFFFFF\n"
    "[kept]\nScrollback=500\n[keptnone]\nScrollback=0\n[keptall]\nScrollback=99999999999\n"
    "[keptneg]\nScrollback=-5\n[keptbad]\nScrollback=lots\n";

class LoadSettings : public ::testing::Test {
 protected:
  // Font, LineHeight, Rows, Cols, FKeys, then AutoCR, AutoLF, LocalEcho,
  // MonoChrome, UpperLock, Xlat and AutoWrap as digits.
  std::string Describe() {
    std::ostringstream text;
    text << term.Font().Name << '/' << term.Font().Size << '/' << int{term.Font().Style};
    for (int v : {term.LineHeight(), term.Rows(), term.Cols(), term.FKeys}) text << ' ' << v;
    text << ' ';
    for (bool b :
         {term.AutoCR(), term.AutoLF(), term.LocalEcho, term.MonoChrome, term.UpperLock, term.Xlat(), term.AutoWrap()})
      text << b;
    return text.str();
  }
  // Away from every default, so that the defaults show.
  void Scramble() {
    term.SetFont({"Kept", 7});
    for (auto set : {&TTnZuzeRI::SetAutoCR, &TTnZuzeRI::SetXlat, &TTnZuzeRI::SetAutoWrap}) (term.*set)(true);
    term.SetRows(40);
    term.SetCols(100);
    term.FKeys = 0;
    term.LocalEcho = term.UpperLock = true;
  }

  const test::TTempIni file{kIni};
  recording::TViewRig rig{{8, 14, 2}};
  TTnZuzeRI term{rig.Ports()};
};

// Scrollback is kept within 0..100000 rows; a malformed or missing value
// keeps 10000.
TEST_F(LoadSettings, ScrollbackIsReadAndKeptWithinItsRange) {
  term.IniFilename = file.Path();
  for (const auto& [host, rows] : std::vector<std::pair<const char*, int>>{
           {"kept", 500}, {"keptnone", 0}, {"keptall", 100000}, {"keptneg", 0}, {"keptbad", 10000}, {"hex", 10000}}) {
    term.SetScrollback(7);
    term.HostName = host;
    term.LoadSettings();
    EXPECT_EQ(term.Scrollback(), rows) << host;
  }
}

// The font measures 14-pixel cells before LineHeight is read; FontSize,
// LineHeight, Rows and Cols are kept within their limits, however far out.
TEST_F(LoadSettings, EachSectionGivesItsValuesOrTheDefaults) {
  const std::string defaults = "Terminal/9/0 12 25 80 1 0000000";
  const std::vector<std::tuple<std::string, const char*, std::string>> cases = {
      {file.Path(), "hex", "Courier New/10/15 16 20 64 2 1111111"},
      {file.Path(), "garbage", "Terminal/9/0 12 25 80 1 0000100"},
      {file.Path(), "star", "Kept/7/0 12 10 80 1 0000000"},
      {file.Path(), "range", "Terminal/9/0 1 50 1 1 0000000"},
      {file.Path(), "Range2", "Terminal/9/0 12 1 132 1 0000000"},
      {file.Path(), "edge", "Terminal/72/0 128 50 1 1 0000000"},
      {file.Path(), "edge2", "Terminal/1/0 1 25 132 1 0000000"},
      {file.Path(), "missing", defaults},
      {(fs::temp_directory_path() / "cv-no-such.ini").string(), "hex", defaults},
      {CV_SAMPLE_INI, "127.0.0.1", "Kept/7/0 12 25 80 1 0000000"},
      {CV_SAMPLE_INI, "LOCALHOST", "Terminal/9/0 12 25 80 1 0000001"},
      {CV_SAMPLE_INI, "oldhost.example", "Terminal/9/0 12 50 132 0 0000100"}};
  for (const auto& [ini, host, settings] : cases) {
    Scramble();
    term.IniFilename = ini;
    term.HostName = host;
    term.LoadSettings();
    EXPECT_EQ(Describe(), settings) << ini << " " << host;
  }
  Scramble();
  const std::string before = Describe();
  term.HostName = "";
  term.LoadSettings();
  EXPECT_EQ(Describe(), before);
}

// Seconds of keepalive go to the connection within 0-32767; a section
// without the key, or with a word, gives 60.
TEST_F(LoadSettings, KeepAliveGoesToTheConnectionWithinItsRange) {
  std::ofstream(file.Path()) << "[off]\nKeepAlive=0\n[short]\nKeepAlive=15\n[long]\nKeepAlive=99999\n"
                                "[negative]\nKeepAlive=-4\n[word]\nKeepAlive=soon\n";
  const std::vector<std::pair<const char*, int>> cases = {{"off", 0},      {"short", 15}, {"long", 32767},
                                                          {"negative", 0}, {"word", 60},  {"missing", 60}};
  for (const auto& [host, seconds] : cases) {
    term.TnCnx().KeepAlive = 1;
    term.IniFilename = file.Path();
    term.HostName = host;
    term.LoadSettings();
    EXPECT_EQ(term.TnCnx().KeepAlive, seconds) << host;
  }
}

// A host's own section, even an empty one, else [Default], else the
// built-in defaults (the file without [Default] above).
TEST_F(LoadSettings, TheHostsSectionElseDefaultElseTheBuiltInDefaults) {
  std::ofstream(file.Path()) << "[host]\nRows=30\n[default]\nRows=40\nFKeys=2\nAutoWrap=1\n[empty]\n";
  for (const auto& [host, settings] :
       std::vector<std::pair<const char*, std::string>>{{"HOST", "Terminal/9/0 12 30 80 1 0000000"},
                                                        {"other.example", "Terminal/9/0 12 40 80 2 0000001"},
                                                        {"empty", "Terminal/9/0 12 25 80 1 0000000"}}) {
    Scramble();
    term.HostName = host;
    term.IniFilename = file.Path();
    term.LoadSettings();
    EXPECT_EQ(Describe(), settings) << host;
  }
}

const char* const kXtermIni =
    "[xterm]\nEmulation=Xterm\nRows=150\nCols=400\nCharset=latin-1\nTermType=xterm-256color\n"
    "[wide]\nEmulation= xterm \nFKeys=1\nRows=999\nCols=0x7FFFFFFF\nCharset=CP437\n"
    "[classic]\nEmulation=Classic\nRows=100\nCols=300\n"
    "[unknown]\nEmulation=vt52\nCharset=EBCDIC\nTermType=two words\n"
    "[bad]\nEmulation=Xterm\nCharset=\nTermType=a-terminal-type-name-longer-than-forty-chars\n"
    "[control]\nEmulation=XTERM\nTermType=x\x01y\n";

class LoadXtermSettings : public ::testing::Test {
 protected:
  // Emulation, Rows, Cols, FKeys, the terminal type, and what the byte E9
  // from the host shows as in Xterm (U+00E9 Latin-1, U+0398 CP437, U+FFFD UTF-8).
  std::string DescribeXterm() {
    std::ostringstream text;
    text << (term.Emulation() == TEmulation::Xterm ? "xterm" : "classic");
    for (int v : {term.Rows(), term.Cols(), term.FKeys}) text << ' ' << v;
    text << ' ' << term.XtermTermType;
    if (term.Xterm() == nullptr) return text.str();
    term.WriteText("\r\xE9\r");
    text << std::hex << " U+" << static_cast<std::uint32_t>(term.Xterm()->Cell(term.Xterm()->Cursor().Row, 0).Ch);
    return text.str();
  }

  const test::TTempIni file{kXtermIni};
  recording::TViewRig rig;
  TTnZuzeRI term{rig.Ports()};
};

// The emulation comes first: Rows and Cols go to its limits (200 x 500 in
// Xterm, 50 x 132 in Classic) and a section without FKeys selects XTERM.
// An unknown name, character set or terminal type gives the default.
TEST_F(LoadXtermSettings, XtermSectionsChooseTheEmulationItsSizeKeysAndCharset) {
  const std::vector<std::tuple<std::string, const char*, std::string>> cases = {
      {file.Path(), "xterm", "xterm 150 400 3 xterm-256color U+e9"},
      {file.Path(), "wide", "xterm 200 500 1 xterm U+398"},
      {file.Path(), "classic", "classic 50 132 1 xterm"},
      {file.Path(), "unknown", "classic 25 80 1 xterm"},
      {file.Path(), "bad", "xterm 25 80 3 xterm U+fffd"},
      {file.Path(), "control", "xterm 25 80 3 xterm U+fffd"},
      {CV_SAMPLE_INI, "linux.example", "xterm 30 100 3 xterm U+fffd"},
      {CV_SAMPLE_INI, "unlisted.example", "xterm 25 80 3 xterm U+fffd"},
      {CV_SAMPLE_INI, "127.0.0.1", "classic 25 80 1 xterm"}};
  for (const auto& [ini, host, settings] : cases) {
    term.SetEmulation(TEmulation::Xterm);
    term.XtermTermType = "kept";
    term.IniFilename = ini;
    term.HostName = host;
    term.LoadSettings();
    EXPECT_EQ(DescribeXterm(), settings) << ini << " " << host;
  }
}

// The command line's choice takes the place of the section's, before the
// limits and the key table follow from it.
TEST_F(LoadXtermSettings, AnEmulationGivenOverridesTheSection) {
  term.IniFilename = file.Path();
  term.HostName = "classic";
  term.LoadSettings(TEmulation::Xterm);
  EXPECT_EQ(DescribeXterm(), "xterm 100 300 3 xterm U+fffd");
  term.HostName = "xterm";
  term.LoadSettings(TEmulation::Classic);
  EXPECT_EQ(DescribeXterm(), "classic 50 132 1 xterm-256color");
  term.HostName = "";
  term.LoadSettings(TEmulation::Xterm);
  EXPECT_EQ(term.Emulation(), TEmulation::Xterm);
}

}  // namespace
}  // namespace corvane::tntest
