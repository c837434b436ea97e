#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "emulator/key_mapping.h"
#include "tests/view/support/view_rig.h"

using namespace corvane;
using corvane::recording::TViewRig;

namespace {

constexpr int kUp = 38, kDelete = 46, kPageUp = 33, kTab = 9, kMultiply = 106;
constexpr int kF1 = 112, kF7 = 118, kF10 = 121, kF11 = 122, kF12 = 123;
constexpr int kDeadKey = 221, kCtrlKey = 17;

// A focused view whose keys, buffers and the chained hook are recorded.
class KeyMapping : public ::testing::Test {
 protected:
  void SetUp() override {
    KeyDefinitionArmed = false;
    previous_ = platform::SetAppMessageHook([this](platform::TMessage&, bool&) { ++chained; });
    view().OnKeyPress = [this](TCustomZuzeRI&, char& key) { keys += key; };
    view().OnKeyBuffer = [this](TCustomZuzeRI&, const char* buffer, int len) {
      buffers.push_back(std::string(buffer, static_cast<std::size_t>(len)));
    };
    view().SetXlat(false);  // typed characters reach KeyPress untranslated
    view().FocusGained();
  }
  void TearDown() override {
    rig.View.reset();
    platform::SetAppMessageHook(std::move(previous_));
    KeyDefinitionArmed = false;
  }

  TZuzeRI& view() { return *rig.View; }

  // Delivers a key-down message to the view's window; true when claimed.
  bool Key(int vk, int scan, bool ext = false, bool alt = false) {
    platform::TMessage msg = platform::MakeKeyDown(rig.Window.Handle(), vk, scan, ext, alt);
    return platform::OfferToAppMessageHook(msg);
  }
  bool Letter(char upper) { return Key(upper, 0x10); }
  // A system key-down message, as F10 and Alt combinations arrive.
  bool SysKey(int vk, int scan, bool alt = false) {
    platform::TMessage msg = platform::MakeKeyDown(rig.Window.Handle(), vk, scan, false, alt);
    msg.Msg = platform::kSysKeyDownMessage;
    return platform::OfferToAppMessageHook(msg);
  }

  TViewRig rig;
  std::string keys;
  std::vector<std::string> buffers;
  int chained = 0;

 private:
  platform::TMessageHook previous_;
};

TEST_F(KeyMapping, TableKeysGoToTheKeyBufferOfTheSelectedTable) {
  view().FKeys = 5;  // any value but 0 and 2 is VT100
  EXPECT_TRUE(Key(kPageUp, 0x49, true));
  view().FKeys = 0;
  EXPECT_TRUE(Key(kPageUp, 0x49, true));
  view().FKeys = 2;
  EXPECT_TRUE(Key(kPageUp, 0x49, true));
  EXPECT_EQ(buffers, (std::vector<std::string>{"\x1b[5~", "\x1b[I", "\x1b-"}));
  EXPECT_EQ(keys, "");
  EXPECT_EQ(chained, 0);
}

TEST_F(KeyMapping, WithoutKeyBufferHandlerTheBytesPassThroughKeyPressAndEcho) {
  view().OnKeyBuffer = nullptr;
  view().LocalEcho = true;
  view().Screen().SetCursor(5, 3);
  EXPECT_TRUE(Key(kUp, 0x48, true));
  EXPECT_EQ(keys, "\x1b[A");
  EXPECT_EQ(view().Screen().Cursor.Row, 4);  // the echoed sequence moved the local cursor
  EXPECT_EQ(view().Screen().Cursor.Col, 3);
}

TEST_F(KeyMapping, KeypadCursorKeysGetASecondTryAsExtendedKeys) {
  EXPECT_TRUE(Key(kUp, 0x48, false));  // keypad 8 with Num Lock off
  EXPECT_EQ(buffers, (std::vector<std::string>{"\x1b[A"}));
  EXPECT_EQ(chained, 0);

  EXPECT_FALSE(Key(kDelete, 0x53, false));  // keypad Delete: outside 33-40, left alone
  EXPECT_EQ(buffers.size(), 1u);
  EXPECT_EQ(chained, 1);

  view().FKeys = 1;
  EXPECT_FALSE(Key(36, 0x47, true));  // Home has no VT100 entry and is not claimed
  EXPECT_EQ(buffers.size(), 1u);
}

TEST_F(KeyMapping, LettersFollowCtrlCapsLockAndShift) {
  auto& kb = rig.Keyboard;
  EXPECT_TRUE(Letter('A'));
  kb.CapsLock = true;
  EXPECT_TRUE(Letter('B'));
  kb.Shift = true;
  EXPECT_TRUE(Letter('C'));  // Caps Lock with Shift stays upper case
  kb.CapsLock = false;
  EXPECT_TRUE(Letter('D'));
  kb.Shift = false;
  kb.Ctrl = true;
  EXPECT_TRUE(Letter('C'));
  EXPECT_EQ(keys, std::string("aBCD\x03"));
  EXPECT_TRUE(buffers.empty());
}

TEST_F(KeyMapping, BackspaceTabReturnAndEscapeAreClaimedAsTheirControlCharacters) {
  view().FKeys = 1;
  EXPECT_TRUE(Key(8, 0x0E));
  EXPECT_TRUE(Key(kTab, 0x0F));
  EXPECT_TRUE(Key(13, 0x1C));
  EXPECT_TRUE(Key(27, 0x01));
  EXPECT_EQ(keys, "\b\t\r\x1b");
}

TEST_F(KeyMapping, TabUnderScoSendsItsTableEntryAndShiftTabSendsHT) {
  view().FKeys = 0;
  EXPECT_TRUE(Key(kTab, 0x0F));
  rig.Keyboard.Shift = true;
  EXPECT_TRUE(Key(kTab, 0x0F));
  EXPECT_EQ(buffers, (std::vector<std::string>{"\x1b[Z"}));
  EXPECT_EQ(keys, "\t");
}

TEST_F(KeyMapping, AnEmptyEntryClaimsTheKeyAndSendsNothing) {
  view().FKeys = 2;
  EXPECT_TRUE(Key(kF10, 0x44));
  EXPECT_EQ(buffers, (std::vector<std::string>{""}));
  view().OnKeyBuffer = nullptr;
  EXPECT_TRUE(Key(kF10, 0x44));
  EXPECT_EQ(keys, "");
}

TEST_F(KeyMapping, F11AndF12AsDeliveredMatchRowsWrittenForTheirBiosCodes) {
  view().FKeys = 0;
  EXPECT_TRUE(Key(kF11, 0x57));
  rig.Keyboard.Shift = true;
  EXPECT_TRUE(Key(kF12, 0x58));
  view().FKeys = 1;  // a table with rows for 0x57 and 0x58 uses them
  rig.Keyboard.Shift = false;
  EXPECT_TRUE(Key(kF11, 0x57));
  EXPECT_EQ(buffers, (std::vector<std::string>{"\x1b[W", "\x1b[j", "\x1b[28~"}));
}

// F10 is the terminal's with or without a row in the table; the menu keeps
// the Alt combinations the table does not claim.
TEST_F(KeyMapping, SystemKeyDownsReachTheTablesAndOnlyAltCombinationsGoToTheMenu) {
  view().FKeys = 0;
  EXPECT_TRUE(SysKey(kF10, 0x44));
  view().FKeys = 1;
  EXPECT_TRUE(SysKey(kF10, 0x44));  // no VT100 row: claimed, nothing sent
  EXPECT_TRUE(Key(kF10, 0x44));     // as the Linux keyboard delivers it
  EXPECT_FALSE(SysKey(kF10, 0x44, true));
  EXPECT_FALSE(SysKey('E', 0x12, true));  // Alt+E is no letter for the host
  EXPECT_EQ(buffers, (std::vector<std::string>{"\x1b[V"}));
  EXPECT_EQ(keys, "");
  EXPECT_EQ(chained, 2);
}

TEST_F(KeyMapping, KeyLearningAidDescribesSystemKeysAndF11AsDelivered) {
  auto arm = [&] {
    rig.Keyboard.Ctrl = true;
    Key(kMultiply, 0x37, false, true);
    rig.Keyboard.Ctrl = false;
  };
  view().FKeys = 0;
  arm();
  EXPECT_TRUE(SysKey(kF10, 0x44));
  EXPECT_EQ(rig.Clipboard.Contents, "44, ssNormal, FALSE, '\\x1B[V'");
  arm();
  EXPECT_TRUE(Key(kF11, 0x57));
  EXPECT_EQ(rig.Clipboard.Contents, "57, ssNormal, FALSE, '\\x1B[W'");
  EXPECT_TRUE(buffers.empty());
}

TEST_F(KeyMapping, DeadKeyAccentsTheNextLowerCaseVowel) {
  EXPECT_TRUE(Key(kDeadKey, 0x1B));
  EXPECT_TRUE(Letter('E'));
  rig.Keyboard.Shift = true;
  EXPECT_TRUE(Key(kDeadKey, 0x1B));
  rig.Keyboard.Shift = false;
  EXPECT_TRUE(Letter('E'));
  EXPECT_EQ(keys, "\xEA\xEB");
}

TEST_F(KeyMapping, AnyLetterClearsTheDeadKeyAndOtherKeysLeaveItPending) {
  Key(kDeadKey, 0x1B);
  rig.Keyboard.Shift = true;
  Letter('E');  // upper case is not accented, but the dead key is used up
  rig.Keyboard.Shift = false;
  Letter('E');
  Key(kDeadKey, 0x1B);
  Letter('X');
  Letter('O');
  Key(kDeadKey, 0x1B);
  EXPECT_FALSE(Key('5', 0x06));  // a digit is left to the platform
  Letter('U');
  EXPECT_EQ(keys, "Eexo\xFB");
}

TEST_F(KeyMapping, BothDeadKeysPendingTryCircumflexFirst) {
  Key(kDeadKey, 0x1B);
  rig.Keyboard.Shift = true;
  Key(kDeadKey, 0x1B);
  rig.Keyboard.Shift = false;
  Letter('A');
  Letter('A');
  EXPECT_EQ(keys,
            "\xE2"
            "a");
}

TEST_F(KeyMapping, AltWithTheDeadKeyIsNotClaimed) {
  EXPECT_FALSE(Key(kDeadKey, 0x1B, false, true));
  Letter('E');
  EXPECT_EQ(keys, "e");
}

// On a US layout the key types "]" and "}": it is left to the platform.
TEST_F(KeyMapping, TheKeyAt221IsADeadKeyOnlyWhereTheLayoutHasOneThere) {
  rig.Keyboard.DeadKeyLayout = false;
  EXPECT_FALSE(Key(kDeadKey, 0x1B));
  Letter('E');
  EXPECT_EQ(keys, "e");
}

TEST_F(KeyMapping, XlatTranslatesTypedCharactersThroughTheScreenTable) {
  view().LocalEcho = true;
  view().SetXlat(true);
  char key = '\xA3';
  view().KeyPress(key);
  EXPECT_EQ(static_cast<unsigned char>(key), AsciiTable[0xA3]);
  EXPECT_EQ(static_cast<unsigned char>(keys.back()), 0x9C);
  EXPECT_EQ(view().Screen().Lines[1]->Chars[0], 0x9C);
  // A typed character goes as its code page 1252 code into the same table.
  for (const auto& [typed, sent] :
       {std::pair{U'\u00FC', 0x81}, {U'\u00C9', 0x90}, {U'\u00EF', 0x8B}, {U'\u00A0', 0xFF}}) {
    view().CharTyped(typed);
    EXPECT_EQ(static_cast<unsigned char>(keys.back()), sent) << static_cast<int>(typed);
  }

  view().SetXlat(false);
  key = '\xA3';
  view().KeyPress(key);
  EXPECT_EQ(static_cast<unsigned char>(keys.back()), 0xA3);
  view().CharTyped(U'\u00FC');
  EXPECT_EQ(static_cast<unsigned char>(keys.back()), 0xFC);
}

TEST_F(KeyMapping, KeyPressHandlerMayChangeTheKeyBeforeItIsEchoed) {
  view().LocalEcho = true;
  view().OnKeyPress = [](TCustomZuzeRI&, char& key) { key = 'Z'; };
  Letter('Q');
  EXPECT_EQ(view().Screen().Lines[1]->Chars[0], 'Z');
}

TEST_F(KeyMapping, KeyLearningAidDescribesTheNextKeyInsteadOfSendingIt) {
  rig.Keyboard.Ctrl = true;
  EXPECT_TRUE(Key(kMultiply, 0x37, false, true));
  EXPECT_TRUE(KeyDefinitionArmed);
  EXPECT_FALSE(Key(kCtrlKey, 0x1D));  // the modifier keys themselves do not use it up
  rig.Keyboard.Ctrl = false;
  EXPECT_TRUE(KeyDefinitionArmed);

  view().FKeys = 1;
  EXPECT_TRUE(Key(kUp, 0x48, true));
  EXPECT_FALSE(KeyDefinitionArmed);
  EXPECT_TRUE(buffers.empty());
  EXPECT_EQ(rig.Clipboard.Contents, "48, ssNormal, TRUE, '\\x1B[A'");
  ASSERT_EQ(rig.MessageBox.Shown.size(), 1u);
  EXPECT_EQ(rig.MessageBox.Shown[0].first, rig.Clipboard.Contents);
  EXPECT_EQ(rig.MessageBox.Shown[0].second, "Key definition from reduru1.cfg");
}

TEST_F(KeyMapping, KeyLearningAidLinesForShiftedAndMissingKeys) {
  auto learn = [&](int vk, int scan, bool shift) {
    rig.Keyboard.Ctrl = true;
    Key(kMultiply, 0x37, false, true);
    rig.Keyboard.Ctrl = false;
    rig.Keyboard.Shift = shift;
    EXPECT_TRUE(Key(vk, scan));
    rig.Keyboard.Shift = false;
    return rig.Clipboard.Contents;
  };
  view().FKeys = 0;
  EXPECT_EQ(learn(kF1, 0x3B, true), "3B, ssShift , FALSE, '\\x1B[V'");
  EXPECT_EQ(rig.MessageBox.Shown.back().second, "Key definition from reduru0.cfg");
  view().FKeys = 1;
  EXPECT_EQ(learn(kF7, 0x41, false), "41, ssNormal, FALSE");
  EXPECT_EQ(learn('A', 0x1E, false), "1E, ssNormal, FALSE");
  EXPECT_TRUE(buffers.empty());
  EXPECT_EQ(keys, "");
}

TEST_F(KeyMapping, OtherMessagesAndOtherWindowsGoToThePreviousHook) {
  platform::TMessage other = platform::MakeKeyDown(&keys, 'A', 0x1E, false);
  EXPECT_FALSE(platform::OfferToAppMessageHook(other));
  platform::TMessage sysKey = platform::MakeKeyDown(rig.Window.Handle(), 'A', 0x1E, false, true);
  sysKey.Msg = platform::kSysKeyDownMessage;
  EXPECT_FALSE(platform::OfferToAppMessageHook(sysKey));
  EXPECT_EQ(chained, 2);
  EXPECT_EQ(keys, "");
}

TEST_F(KeyMapping, FocusLossPutsThePreviousHookBack) {
  view().FocusLost();
  EXPECT_FALSE(Letter('A'));
  EXPECT_EQ(chained, 1);
  EXPECT_EQ(keys, "");
  view().FocusGained();
  view().FocusGained();  // a repeated focus message must not chain the view to itself
  EXPECT_FALSE(Key(kDelete, 0x53, false));
  EXPECT_EQ(chained, 2);
}

TEST_F(KeyMapping, DestroyingAFocusedViewRestoresThePreviousHook) {
  rig.View.reset();
  EXPECT_FALSE(Letter('A'));
  EXPECT_EQ(chained, 1);
}

// The XTERM table in the Xterm emulation: what each key-down sends (table
// bytes and typed characters in order), or nothing when it is not claimed.
class XtermKeyMapping : public KeyMapping {
 protected:
  void SetUp() override {
    KeyMapping::SetUp();
    view().SetEmulation(TEmulation::Xterm);
    view().FKeys = 3;
  }
  // Alt alone makes a system key-down, as both platforms deliver it.
  std::optional<std::string> Press(int vk, int scan, bool ext, TShiftState shift) {
    rig.Keyboard.Shift = (shift & ssShift) != 0;
    rig.Keyboard.Ctrl = (shift & ssCtrl) != 0;
    platform::TMessage msg = platform::MakeKeyDown(rig.Window.Handle(), vk, scan, ext, (shift & ssAlt) != 0);
    if (shift == ssAlt) msg.Msg = platform::kSysKeyDownMessage;
    return Sent(platform::OfferToAppMessageHook(msg));
  }
  // The system character message of an unclaimed Alt combination.
  std::optional<std::string> AltChar(char32_t ch) {
    platform::TMessage msg{rig.Window.Handle(), platform::kSysCharMessage, static_cast<std::uint32_t>(ch), 0};
    return Sent(platform::OfferToAppMessageHook(msg));
  }
  std::optional<std::string> Sent(bool claimed) {
    std::string sent;
    for (const std::string& buffer : buffers) sent += buffer;
    sent += std::exchange(keys, {});
    buffers.clear();
    return claimed ? std::optional(sent) : std::nullopt;
  }
};

TEST_F(XtermKeyMapping, KeysSendXtermSequencesWithModifiersAndTheHostsModes) {
  constexpr bool E = true, N = false;
  constexpr TShiftState none = 0, shift = ssShift, ctrl = ssCtrl, alt = ssAlt;
  const std::optional<std::string> unclaimed;
  struct TCase {
    const char* Key;
    int Vk, Scan;
    bool Ext;
    TShiftState Shift;
    const char* Modes;  // what the host sent before
    std::optional<std::string> Sent;
  } const cases[] = {
      {"Up", 38, 0x48, E, none, "", "\x1b[A"},
      {"Up, DECCKM", 38, 0x48, E, none, "\x1b[?1h", "\x1bOA"},
      {"Shift+Up, DECCKM", 38, 0x48, E, shift, "\x1b[?1h", "\x1b[1;2A"},
      {"Ctrl+Left", 37, 0x4B, E, ctrl, "", "\x1b[1;5D"},
      {"Alt+Right", 39, 0x4D, E, alt, "", "\x1b[1;3C"},
      {"Home, DECCKM", 36, 0x47, E, none, "\x1b[?1h", "\x1bOH"},
      {"End", 35, 0x4F, E, none, "", "\x1b[F"},
      {"keypad End, Num Lock off", 35, 0x4F, N, none, "", "\x1b[F"},
      {"Insert", 45, 0x52, E, none, "", "\x1b[2~"},
      {"Delete", 46, 0x53, E, none, "", "\x1b[3~"},
      {"Ctrl+Delete", 46, 0x53, E, ctrl, "", "\x1b[3;5~"},
      {"Shift+PgDn", 34, 0x51, E, shift, "", "\x1b[6;2~"},
      {"F1", 112, 0x3B, N, none, "", "\x1bOP"},
      {"Shift+F1", 112, 0x3B, N, shift, "", "\x1b[1;2P"},
      {"Ctrl+F5", 116, 0x3F, N, ctrl, "", "\x1b[15;5~"},
      {"F10", 121, 0x44, N, none, "", "\x1b[21~"},
      {"F12", 123, 0x58, N, none, "", "\x1b[24~"},
      {"Alt+F4 closes the window", 115, 0x3E, N, alt, "", unclaimed},
      {"Backspace", 8, 0x0E, N, none, "", "\x7f"},
      {"Alt+Backspace", 8, 0x0E, N, alt, "", "\x1b\x7f"},
      {"Tab", 9, 0x0F, N, none, "", "\t"},
      {"Shift+Tab", 9, 0x0F, N, shift, "", "\x1b[Z"},
      {"keypad 7, Num Lock on", 103, 0x47, N, none, "", unclaimed},
      {"keypad 7, DECKPAM", 103, 0x47, N, none, "\x1b=", "\x1bOw"},
      {"keypad 0, DECKPAM", 96, 0x52, N, none, "\x1b=", "\x1bOp"},
      {"keypad 9, DECKPAM", 105, 0x49, N, none, "\x1b=", "\x1bOy"},
      {"keypad ., DECKPAM", 110, 0x53, N, none, "\x1b=", "\x1bOn"},
      {"keypad *, DECKPAM", 106, 0x37, N, none, "\x1b=", "\x1bOj"},
      {"keypad +, DECKPAM", 107, 0x4E, N, none, "\x1b=", "\x1bOk"},
      {"keypad -, DECKPAM", 109, 0x4A, N, none, "\x1b=", "\x1bOm"},
      {"keypad /, DECKPAM", 111, 0x35, E, none, "\x1b=", "\x1bOo"},
      {"keypad +", 107, 0x4E, N, none, "", unclaimed},
      {"keypad Enter, DECKPAM", 13, 0x1C, E, none, "\x1b=", "\x1bOM"},
      {"keypad Enter", 13, 0x1C, E, none, "\x1b=\x1b>", "\r"},
      {"Enter, DECKPAM", 13, 0x1C, N, none, "\x1b=", "\r"},
      {"Enter, LNM", 13, 0x1C, N, none, "\x1b[20h", "\r\n"},
      {"keypad Enter, LNM", 13, 0x1C, E, none, "\x1b[20h", "\r\n"},
      {"keypad Enter, DECKPAM and LNM", 13, 0x1C, E, none, "\x1b=\x1b[20h", "\x1bOM"},
      {"Alt+keypad 1 enters a code", 97, 0x4F, N, alt, "\x1b=", unclaimed},
      {"keypad Home, Num Lock off, DECKPAM", 36, 0x47, N, none, "\x1b=", "\x1b[H"},
  };
  for (const TCase& c : cases) {
    view().Xterm()->FullReset();
    view().Xterm()->Feed(c.Modes);
    EXPECT_EQ(Press(c.Vk, c.Scan, c.Ext, c.Shift), c.Sent) << c.Key;
  }
  EXPECT_EQ(chained, 4);
}

TEST_F(XtermKeyMapping, TheXtermTableInTheClassicEmulationHasNoHostModes) {
  view().SetEmulation(TEmulation::Classic);
  view().WriteText("\x1b[?1h\x1b=");
  EXPECT_EQ(Press(38, 0x48, true, ssCtrl), "\x1b[1;5A");
  EXPECT_EQ(Press(36, 0x47, true, 0), "\x1b[H");
  EXPECT_EQ(Press(103, 0x47, false, 0), std::nullopt);
}

// Alt with a character goes to the host as ESC and the character in the
// host's character set; under the other tables it stays the menu's.
TEST_F(XtermKeyMapping, AltWithACharacterSendsEscapeAndTheCharacter) {
  EXPECT_EQ(Press('X', 0x2D, false, ssAlt), std::nullopt);  // its character follows
  EXPECT_EQ(AltChar(U'x'), "\x1bx");
  EXPECT_EQ(AltChar(U'\u00E9'), "\x1b\xC3\xA9");
  view().SetCharset(TCharset::Latin1);
  EXPECT_EQ(AltChar(U'\u00E9'), "\x1b\xE9");
  EXPECT_EQ(AltChar(U' '), std::nullopt);  // the window's system menu
  view().FKeys = 1;
  EXPECT_EQ(AltChar(U'e'), std::nullopt);
  EXPECT_EQ(chained, 3);
}

TEST_F(XtermKeyMapping, TypedCharactersGoInTheHostsCharsetUntranslated) {
  view().SetXlat(true);  // the classic terminal's keyboard translation has no say
  view().CharTyped(U'\u00E9');
  EXPECT_EQ(keys, "\xC3\xA9");
  for (const auto& [charset, sent] : {std::pair{TCharset::Latin1, "\xE9?"}, {TCharset::Cp437, "\x82\xC4"}}) {
    keys.clear();
    view().SetCharset(charset);
    view().CharTyped(U'\u00E9');
    view().CharTyped(U'\u2500');
    EXPECT_EQ(keys, sent);
  }
  view().SetEmulation(TEmulation::Classic);  // the charset stays for the next Xterm screen
  view().SetEmulation(TEmulation::Xterm);
  keys.clear();
  view().CharTyped(U'\u00C9');
  EXPECT_EQ(keys, "\x90");
}

TEST(KeyText, ShiftStateNamesInFixedOrderWithTrailingBlanks) {
  EXPECT_EQ(ShiftStateToString(0), "ssNormal");
  EXPECT_EQ(ShiftStateToString(ssCtrl | ssShift | ssAlt), "ssShift ssAlt ssCtrl ");
  EXPECT_EQ(ShiftStateToString(ssDouble | ssLeft | ssRight | ssMiddle), "ssLeft ssRight ssMiddle ssDouble ");
}

TEST(KeyText, ValueBytesOutsidePrintableAsciiAndQuotesAreEscaped) {
  EXPECT_EQ(FuncKeyValueToString(std::string("\x1b[2~ ~\x7f\x80'\\\0", 11)), "\\x1B[2~ ~\\x7F\\x80\\x27\\x5C\\x00");
  EXPECT_EQ(FuncKeyValueToString(""), "");
}

}  // namespace
