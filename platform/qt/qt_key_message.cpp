#include "platform/qt/qt_key_message.h"

#include <array>
#include <cstdint>
#include <span>

namespace corvane::platform::qt {
namespace {

struct TKeyRow {
  int Key;
  int VirtualKey;
  int ScanCode;  // where a US keyboard has the key
  bool Ext;
};

// Keys off the numeric keypad. Shifted symbols share their key's codes.
constexpr TKeyRow kMainKeys[] = {
    {Qt::Key_Escape, 27, 0x01, false},
    {Qt::Key_Exclam, 49, 0x02, false},
    {Qt::Key_At, 50, 0x03, false},
    {Qt::Key_NumberSign, 51, 0x04, false},
    {Qt::Key_Dollar, 52, 0x05, false},
    {Qt::Key_Percent, 53, 0x06, false},
    {Qt::Key_AsciiCircum, 54, 0x07, false},
    {Qt::Key_Ampersand, 55, 0x08, false},
    {Qt::Key_Asterisk, 56, 0x09, false},
    {Qt::Key_ParenLeft, 57, 0x0A, false},
    {Qt::Key_ParenRight, 48, 0x0B, false},
    {Qt::Key_Minus, 189, 0x0C, false},
    {Qt::Key_Underscore, 189, 0x0C, false},
    {Qt::Key_Equal, 187, 0x0D, false},
    {Qt::Key_Plus, 187, 0x0D, false},
    {Qt::Key_Backspace, 8, 0x0E, false},
    {Qt::Key_Tab, 9, 0x0F, false},
    {Qt::Key_Backtab, 9, 0x0F, false},
    {Qt::Key_BracketLeft, 219, 0x1A, false},
    {Qt::Key_BraceLeft, 219, 0x1A, false},
    {Qt::Key_BracketRight, 221, 0x1B, false},
    {Qt::Key_BraceRight, 221, 0x1B, false},
    {Qt::Key_Return, 13, 0x1C, false},
    {Qt::Key_Control, 17, 0x1D, false},
    {Qt::Key_Semicolon, 186, 0x27, false},
    {Qt::Key_Colon, 186, 0x27, false},
    {Qt::Key_Apostrophe, 222, 0x28, false},
    {Qt::Key_QuoteDbl, 222, 0x28, false},
    {Qt::Key_QuoteLeft, 192, 0x29, false},
    {Qt::Key_AsciiTilde, 192, 0x29, false},
    {Qt::Key_Shift, 16, 0x2A, false},
    {Qt::Key_Backslash, 220, 0x2B, false},
    {Qt::Key_Bar, 220, 0x2B, false},
    {Qt::Key_Comma, 188, 0x33, false},
    {Qt::Key_Less, 188, 0x33, false},
    {Qt::Key_Period, 190, 0x34, false},
    {Qt::Key_Greater, 190, 0x34, false},
    {Qt::Key_Slash, 191, 0x35, false},
    {Qt::Key_Question, 191, 0x35, false},
    {Qt::Key_Alt, 18, 0x38, false},
    {Qt::Key_AltGr, 18, 0x38, true},
    {Qt::Key_Space, 32, 0x39, false},
    {Qt::Key_CapsLock, 20, 0x3A, false},
    {Qt::Key_NumLock, 144, 0x45, false},
    {Qt::Key_ScrollLock, 145, 0x46, false},
    {Qt::Key_F11, 122, 0x57, false},
    {Qt::Key_F12, 123, 0x58, false},
    {Qt::Key_Home, 36, 0x47, true},
    {Qt::Key_Up, 38, 0x48, true},
    {Qt::Key_PageUp, 33, 0x49, true},
    {Qt::Key_Left, 37, 0x4B, true},
    {Qt::Key_Right, 39, 0x4D, true},
    {Qt::Key_End, 35, 0x4F, true},
    {Qt::Key_Down, 40, 0x50, true},
    {Qt::Key_PageDown, 34, 0x51, true},
    {Qt::Key_Insert, 45, 0x52, true},
    {Qt::Key_Delete, 46, 0x53, true},
    {Qt::Key_Enter, 13, 0x1C, true},
    {Qt::Key_Print, 44, 0x37, true},
    {Qt::Key_Pause, 19, 0x45, false},
    {Qt::Key_Meta, 91, 0x5B, true},
    {Qt::Key_Super_L, 91, 0x5B, true},
    {Qt::Key_Super_R, 92, 0x5C, true},
    {Qt::Key_Menu, 93, 0x5D, true},
    {Qt::Key_Clear, 12, 0x4C, false},
    // The two dead keys the terminal composes sit on the dead-key position;
    // their place on the keyboard comes from the key code alone.
    {Qt::Key_Dead_Circumflex, 221, 0, false},
    {Qt::Key_Dead_Diaeresis, 221, 0, false},
};

// Keys of the numeric keypad, Num Lock on or off: never extended, except the
// keypad's Enter and slash.
constexpr TKeyRow kKeypadKeys[] = {
    {Qt::Key_7, 103, 0x47, false},        {Qt::Key_8, 104, 0x48, false},       {Qt::Key_9, 105, 0x49, false},
    {Qt::Key_4, 100, 0x4B, false},        {Qt::Key_5, 101, 0x4C, false},       {Qt::Key_6, 102, 0x4D, false},
    {Qt::Key_1, 97, 0x4F, false},         {Qt::Key_2, 98, 0x50, false},        {Qt::Key_3, 99, 0x51, false},
    {Qt::Key_0, 96, 0x52, false},         {Qt::Key_Period, 110, 0x53, false},  {Qt::Key_Comma, 110, 0x53, false},
    {Qt::Key_Asterisk, 106, 0x37, false}, {Qt::Key_Minus, 109, 0x4A, false},   {Qt::Key_Plus, 107, 0x4E, false},
    {Qt::Key_Slash, 111, 0x35, true},     {Qt::Key_Enter, 13, 0x1C, true},     {Qt::Key_Home, 36, 0x47, false},
    {Qt::Key_Up, 38, 0x48, false},        {Qt::Key_PageUp, 33, 0x49, false},   {Qt::Key_Left, 37, 0x4B, false},
    {Qt::Key_Clear, 12, 0x4C, false},     {Qt::Key_Right, 39, 0x4D, false},    {Qt::Key_End, 35, 0x4F, false},
    {Qt::Key_Down, 40, 0x50, false},      {Qt::Key_PageDown, 34, 0x51, false}, {Qt::Key_Insert, 45, 0x52, false},
};
constexpr TKeyRow kKeypadDelete{Qt::Key_Delete, 46, 0x53, false};

// Scan codes of the letters A-Z and the digits 1-9, 0 on a US keyboard.
constexpr std::array<std::uint8_t, 26> kLetterScanCodes{0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                                        0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                                        0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

// Linux key codes above the ones that equal their set-1 scan code.
struct TLinuxKey {
  int Code;
  int ScanCode;
  bool Ext;
};
constexpr TLinuxKey kLinuxExtendedKeys[] = {
    {96, 0x1C, true},  {97, 0x1D, true},  {98, 0x35, true},  {99, 0x37, true},   {100, 0x38, true}, {102, 0x47, true},
    {103, 0x48, true}, {104, 0x49, true}, {105, 0x4B, true}, {106, 0x4D, true},  {107, 0x4F, true}, {108, 0x50, true},
    {109, 0x51, true}, {110, 0x52, true}, {111, 0x53, true}, {119, 0x45, false}, {125, 0x5B, true}, {126, 0x5C, true},
};
constexpr int kLastPlainLinuxKey = 88;  // F12
constexpr quint32 kKeyCodeOffset = 8;   // X and Wayland key codes = Linux key code + 8

const TKeyRow* Find(std::span<const TKeyRow> rows, int key) {
  for (const TKeyRow& row : rows)
    if (row.Key == key) return &row;
  return nullptr;
}

TKeyRow RowOf(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (key == Qt::Key_Delete) return kKeypadDelete;
    if (const TKeyRow* row = Find(kKeypadKeys, key)) return *row;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return {key, key, kLetterScanCodes[key - Qt::Key_A], false};
  if (key >= Qt::Key_1 && key <= Qt::Key_9) return {key, key, 0x02 + (key - Qt::Key_1), false};
  if (key == Qt::Key_0) return {key, key, 0x0B, false};
  if (key >= Qt::Key_F1 && key <= Qt::Key_F10) return {key, 112 + (key - Qt::Key_F1), 0x3B + (key - Qt::Key_F1), false};
  if (key >= Qt::Key_F13 && key <= Qt::Key_F24) return {key, 124 + (key - Qt::Key_F13), 0, false};
  if (const TKeyRow* row = Find(kMainKeys, key)) return *row;
  return {key, 0, 0, false};
}

// Scan code and extended flag of a Linux key code; false for codes without one.
bool FromLinuxKeyCode(int code, int& scanCode, bool& ext) {
  if (code >= 1 && code <= kLastPlainLinuxKey) {
    scanCode = code;
    ext = false;
    return true;
  }
  for (const TLinuxKey& k : kLinuxExtendedKeys) {
    if (k.Code != code) continue;
    scanCode = k.ScanCode;
    ext = k.Ext;
    return true;
  }
  return false;
}

}  // namespace

int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) { return RowOf(key, modifiers).VirtualKey; }

TMessage KeyDownMessage(const void* window, int key, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
  const TKeyRow row = RowOf(key, modifiers);
  int scanCode = row.ScanCode;
  bool ext = row.Ext;
  if (nativeScanCode > kKeyCodeOffset &&
      !FromLinuxKeyCode(static_cast<int>(nativeScanCode - kKeyCodeOffset), scanCode, ext)) {
    scanCode = 0;
    ext = false;
  }
  const bool alt = modifiers & Qt::AltModifier;
  TMessage msg = MakeKeyDown(window, row.VirtualKey, scanCode, ext, alt);
  if (alt && !(modifiers & Qt::ControlModifier)) msg.Msg = kSysKeyDownMessage;
  return msg;
}

std::optional<TMessage> SysCharMessage(const TMessage& sysKeyDown, const QString& text) {
  const std::u32string chars = text.toStdU32String();
  if (chars.size() != 1) return std::nullopt;
  TMessage msg = sysKeyDown;
  msg.Msg = kSysCharMessage;
  msg.WParam = static_cast<std::uint32_t>(chars[0]);
  return msg;
}

}  // namespace corvane::platform::qt
