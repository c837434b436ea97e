// Qt key presses as key-down messages: virtual-key code, scan code, extended
// flag, Alt bit and message number, with and without the platform's key code.
#include "platform/qt/qt_key_message.h"

#include <gtest/gtest.h>

namespace corvane::platform::qt {
namespace {

constexpr auto None = Qt::NoModifier;
constexpr auto Keypad = Qt::KeypadModifier;
constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Alt = Qt::AltModifier;
constexpr auto Shift = Qt::ShiftModifier;

struct TCase {
  const char* Name;
  int Key;
  Qt::KeyboardModifiers Modifiers;
  quint32 Native;  // X key code, 0 for none
  std::uint32_t Msg;
  int VirtualKey, ScanCode;
  bool Ext, AltBit;
};

const TCase kCases[] = {
    {"grey Up", Qt::Key_Up, None, 0, kKeyDownMessage, 38, 0x48, true, false},
    {"keypad Up", Qt::Key_Up, Keypad, 0, kKeyDownMessage, 38, 0x48, false, false},
    {"keypad Up, X key code", Qt::Key_Up, Keypad, 72 + 8, kKeyDownMessage, 38, 0x48, false, false},
    {"grey Home, X key code", Qt::Key_Home, None, 102 + 8, kKeyDownMessage, 36, 0x47, true, false},
    {"grey Delete", Qt::Key_Delete, None, 0, kKeyDownMessage, 46, 0x53, true, false},
    {"keypad Enter", Qt::Key_Enter, Keypad, 0, kKeyDownMessage, 13, 0x1C, true, false},
    {"keypad slash", Qt::Key_Slash, Keypad, 98 + 8, kKeyDownMessage, 111, 0x35, true, false},
    {"Shift+Tab", Qt::Key_Backtab, Shift, 0, kKeyDownMessage, 9, 0x0F, false, false},
    {"F1", Qt::Key_F1, None, 0, kKeyDownMessage, 112, 0x3B, false, false},
    {"F10 is an ordinary key", Qt::Key_F10, None, 68 + 8, kKeyDownMessage, 121, 0x44, false, false},
    {"F12, X key code", Qt::Key_F12, Shift, 88 + 8, kKeyDownMessage, 123, 0x58, false, false},
    {"Shift key", Qt::Key_Shift, Shift, 0, kKeyDownMessage, 16, 0x2A, false, false},
    {"Alt key", Qt::Key_Alt, Alt, 0, kSysKeyDownMessage, 18, 0x38, false, true},
    {"Ctrl+C", Qt::Key_C, Ctrl, 0, kKeyDownMessage, 67, 0x2E, false, false},
    {"Alt+F is for the menus", Qt::Key_F, Alt, 33 + 8, kSysKeyDownMessage, 70, 0x21, false, true},
    {"Ctrl+Alt+keypad *", Qt::Key_Asterisk, Ctrl | Alt | Keypad, 0, kKeyDownMessage, 106, 0x37, false, true},
    {"keypad 7, Num Lock on", Qt::Key_7, Keypad, 71 + 8, kKeyDownMessage, 103, 0x47, false, false},
    {"keypad plus", Qt::Key_Plus, Keypad, 78 + 8, kKeyDownMessage, 107, 0x4E, false, false},
    {"dead circumflex", Qt::Key_Dead_Circumflex, None, 26 + 8, kKeyDownMessage, 221, 0x1A, false, false},
    {"a key without a set-1 code", Qt::Key_VolumeUp, None, 115 + 8, kKeyDownMessage, 0, 0, false, false},
};

TEST(KeyMessageTest, QtKeysBecomeTheKeyDownMessagesOfThePcKeyboard) {
  const int window = 0;
  for (const TCase& c : kCases) {
    const TMessage m = KeyDownMessage(&window, c.Key, c.Modifiers, c.Native);
    EXPECT_EQ(m.Window, &window) << c.Name;
    EXPECT_EQ(m.Msg, c.Msg) << c.Name;
    EXPECT_EQ(m.WParam, static_cast<std::uint32_t>(c.VirtualKey)) << c.Name;
    EXPECT_EQ(KeyScanCode(m), c.ScanCode) << c.Name;
    EXPECT_EQ(KeyExtended(m), c.Ext) << c.Name;
    EXPECT_EQ(KeyAltDown(m), c.AltBit) << c.Name;
    EXPECT_EQ(m.LParam & 0xFFFF, 1) << c.Name;  // repeat count
  }
}

// As Windows translates a system key-down that no one claimed.
TEST(KeyMessageTest, AnUnclaimedAltKeyBecomesTheOneCharacterItTypes) {
  const int window = 0;
  const TMessage down = KeyDownMessage(&window, Qt::Key_E, Alt, 26 + 8);
  for (const auto& [text, code] : {std::pair{"e", 0x65u}, {"\u00E9", 0xE9u}, {"\U0001F600", 0x1F600u}}) {
    const std::optional<TMessage> ch = SysCharMessage(down, QString::fromUtf8(text));
    ASSERT_TRUE(ch.has_value()) << text;
    EXPECT_EQ(ch->Msg, kSysCharMessage);
    EXPECT_EQ(ch->WParam, code);
    EXPECT_EQ(ch->Window, &window);
    EXPECT_EQ(ch->LParam, down.LParam);
  }
  EXPECT_FALSE(SysCharMessage(down, ""));
  EXPECT_FALSE(SysCharMessage(down, "ab"));
}

}  // namespace
}  // namespace corvane::platform::qt
