#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "emulator/key_tables.h"
#include "emulator/xterm_keys.h"

using namespace corvane;

namespace {

// One table line in the notation of the keyboard documentation: scan code in
// hexadecimal, modifier, extended flag, and the bytes as blank-separated
// tokens (ESC, DEL, single characters, or "empty").
struct Expected {
  const char* Scan;
  const char* Modifier;  // "", "Shift" or "Ctrl"
  bool Ext;
  const char* Bytes;
};

std::string Decode(const std::string& notation) {
  if (notation == "empty") return "";
  std::istringstream tokens(notation);
  std::string token, bytes;
  while (tokens >> token) {
    if (token == "ESC")
      bytes += '\x1b';
    else if (token == "DEL")
      bytes += '\x7f';
    else
      bytes += token;
  }
  return bytes;
}

TShiftState Modifier(const std::string& name) {
  if (name == "Shift") return ssShift;
  if (name == "Ctrl") return ssCtrl;
  return 0;
}

void ExpectTable(const TFuncKeysTable& table, const std::vector<Expected>& expected) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE("slot " + std::to_string(i));
    const TFuncKey& slot = table[i];
    if (i >= expected.size()) {
      EXPECT_EQ(slot.ScanCode, 0);
      EXPECT_EQ(slot.Shift, 0);
      EXPECT_FALSE(slot.Ext);
      EXPECT_TRUE(slot.Value.empty());
      continue;
    }
    const Expected& e = expected[i];
    EXPECT_EQ(slot.ScanCode, std::stoi(e.Scan, nullptr, 16));
    EXPECT_EQ(slot.Shift, Modifier(e.Modifier));
    EXPECT_EQ(slot.Ext, e.Ext);
    EXPECT_EQ(std::string(slot.Value), Decode(e.Bytes));
    EXPECT_LE(slot.Value.size(), kMaxKeyValue);
  }
}

const std::vector<Expected> kSCO = {
    {"48", "", true, "ESC [ A"},       {"50", "", true, "ESC [ B"},       {"4D", "", true, "ESC [ C"},
    {"4B", "", true, "ESC [ D"},       {"49", "", true, "ESC [ I"},       {"51", "", true, "ESC [ G"},
    {"47", "", true, "ESC [ H"},       {"4F", "", true, "ESC [ F"},       {"52", "", true, "ESC [ L"},
    {"0F", "", false, "ESC [ Z"},      {"53", "", true, "DEL"},           {"3B", "", false, "ESC [ M"},
    {"3C", "", false, "ESC [ N"},      {"3D", "", false, "ESC [ O"},      {"3E", "", false, "ESC [ P"},
    {"3F", "", false, "ESC [ Q"},      {"40", "", false, "ESC [ R"},      {"41", "", false, "ESC [ S"},
    {"42", "", false, "ESC [ T"},      {"43", "", false, "ESC [ U"},      {"44", "", false, "ESC [ V"},
    {"85", "", false, "ESC [ W"},      {"86", "", false, "ESC [ X"},      {"3B", "Shift", false, "ESC [ V"},
    {"3C", "Shift", false, "ESC [ Z"}, {"3D", "Shift", false, "ESC [ a"}, {"3E", "Shift", false, "ESC [ b"},
    {"3F", "Shift", false, "ESC [ c"}, {"40", "Shift", false, "ESC [ d"}, {"41", "Shift", false, "ESC [ e"},
    {"42", "Shift", false, "ESC [ f"}, {"43", "Shift", false, "ESC [ g"}, {"44", "Shift", false, "ESC [ h"},
    {"85", "Shift", false, "ESC [ i"}, {"86", "Shift", false, "ESC [ j"}, {"3B", "Ctrl", false, "ESC [ k"},
    {"3C", "Ctrl", false, "ESC [ l"},  {"3D", "Ctrl", false, "ESC [ m"},  {"3E", "Ctrl", false, "ESC [ n"},
    {"3F", "Ctrl", false, "ESC [ o"},  {"40", "Ctrl", false, "ESC [ p"},  {"41", "Ctrl", false, "ESC [ q"},
    {"42", "Ctrl", false, "ESC [ r"},  {"43", "Ctrl", false, "ESC [ s"},  {"44", "Ctrl", false, "ESC [ t"},
    {"85", "Ctrl", false, "ESC [ u"},  {"86", "Ctrl", false, "ESC [ v"},
};

const std::vector<Expected> kVT100 = {
    {"48", "", true, "ESC [ A"},      {"50", "", true, "ESC [ B"},      {"4D", "", true, "ESC [ C"},
    {"4B", "", true, "ESC [ D"},      {"49", "", true, "ESC [ 5 ~"},    {"51", "", true, "ESC [ 6 ~"},
    {"52", "", true, "ESC [ 2 ~"},    {"53", "", true, "DEL"},          {"3B", "", false, "ESC O P"},
    {"3C", "", false, "ESC O Q"},     {"3D", "", false, "ESC O R"},     {"3E", "", false, "ESC O S"},
    {"57", "", false, "ESC [ 2 8 ~"}, {"58", "", false, "ESC [ 2 9 ~"},
};

const std::vector<Expected> kA11 = {
    {"48", "", true, "ESC [ A"},   {"50", "", true, "ESC [ B"},   {"4D", "", true, "ESC [ C"},
    {"4B", "", true, "ESC [ D"},   {"49", "", true, "ESC -"},     {"51", "", true, "ESC +"},
    {"47", "", true, "ESC H"},     {"47", "Ctrl", true, "ESC C"}, {"4F", "", true, "ESC R"},
    {"52", "", true, "ESC I"},     {"53", "", true, "DEL"},       {"3B", "", false, "ESC O P"},
    {"3C", "", false, "ESC O Q"},  {"3D", "", false, "ESC O R"},  {"3E", "", false, "ESC O S"},
    {"43", "", false, "ESC O P"},  {"44", "", false, "empty"},    {"57", "", false, "ESC O Q"},
    {"58", "", false, "ESC O S"},  {"0F", "", false, "ESC Z"},    {"40", "", false, "ESC K"},
    {"53", "Ctrl", true, "ESC D"}, {"52", "Ctrl", true, "ESC L"},
};

}  // namespace

TEST(KeyTables, EveryEntryMatchesTheDocumentedTablesInOrder) {
  ASSERT_EQ(kSCO.size(), 47u);
  ASSERT_EQ(kVT100.size(), 14u);
  ASSERT_EQ(kA11.size(), 23u);
  {
    SCOPED_TRACE("SCO");
    ExpectTable(FKeysSCO, kSCO);
  }
  {
    SCOPED_TRACE("VT100");
    ExpectTable(FKeysVT100, kVT100);
  }
  {
    SCOPED_TRACE("A11");
    ExpectTable(FKeysA11, kA11);
  }
}

TEST(KeyTables, NoTableHoldsTwoEntriesForTheSameKey) {
  for (const TFuncKeysTable* table : {&FKeysSCO, &FKeysVT100, &FKeysA11, &FKeysXterm}) {
    for (const TFuncKey& key : *table) {
      if (key.ScanCode == 0) continue;
      EXPECT_EQ(FindFuncKey(*table, key.ScanCode, key.Shift, key.Ext), &key);
    }
  }
}

TEST(KeyTables, SelectorPicksVT100ForEveryValueButZeroTwoAndThree) {
  EXPECT_EQ(&FuncKeysTable(0), &FKeysSCO);
  EXPECT_EQ(&FuncKeysTable(1), &FKeysVT100);
  EXPECT_EQ(&FuncKeysTable(2), &FKeysA11);
  EXPECT_EQ(&FuncKeysTable(3), &FKeysXterm);
  EXPECT_EQ(&FuncKeysTable(5), &FKeysVT100);
  EXPECT_EQ(&FuncKeysTable(-1), &FKeysVT100);
}

TEST(KeyTables, LookupNeedsScanCodeShiftAndExtendedFlagToMatch) {
  EXPECT_NE(FindFuncKey(FKeysVT100, 0x48, 0, true), nullptr);
  EXPECT_EQ(FindFuncKey(FKeysVT100, 0x48, 0, false), nullptr);  // keypad 8
  EXPECT_EQ(FindFuncKey(FKeysVT100, 0x48, ssShift, true), nullptr);
  EXPECT_EQ(FindFuncKey(FKeysVT100, 0, 0, false), nullptr);  // free slots never match
  EXPECT_EQ(FindFuncKey(FKeysSCO, 0x0F, ssShift, false), nullptr);
}

TEST(XtermKeys, ModifiersAndCursorKeyModeShapeTheTableValue) {
  struct TCase {
    std::string_view Value;
    TShiftState Shift;
    bool CursorKeysApp;
    std::string_view Sent;
  } const cases[] = {
      {"\x1b[D", 0, false, "\x1b[D"},
      {"\x1b[D", 0, true, "\x1bOD"},
      {"\x1b[H", 0, true, "\x1bOH"},
      {"\x1b[D", ssCtrl, false, "\x1b[1;5D"},
      {"\x1b[A", ssCtrl, true, "\x1b[1;5A"},
      {"\x1b[C", ssShift | ssAlt, false, "\x1b[1;4C"},
      {"\x1b[5~", ssShift, false, "\x1b[5;2~"},
      {"\x1b[3~", ssCtrl | ssAlt, true, "\x1b[3;7~"},
      {"\x1bOP", ssShift, false, "\x1b[1;2P"},
      {"\x1bOP", 0, true, "\x1bOP"},
      {"\x7f", ssAlt, false, "\x1b\x7f"},
      {"\x7f", ssCtrl, false, "\x7f"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(XtermKeyBytes(c.Value, c.Shift, c.CursorKeysApp), c.Sent)
        << "value " << testing::PrintToString(std::string(c.Value)) << " shift " << int{c.Shift};
}
