#include "emulator/xterm_keys.h"

namespace corvane {
namespace {
constexpr bool E = true;   // grey cursor and editing keys
constexpr bool N = false;  // the keypad with Num Lock off, function keys, Tab, Backspace

bool IsCursorFinal(char Final) { return (Final >= 'A' && Final <= 'D') || Final == 'H' || Final == 'F'; }

// 1 + 1 for Shift, + 2 for Alt, + 4 for Ctrl; 1 means none.
constexpr int kVkReturn = 13, kVkNumpad0 = 96, kVkNumpad9 = 105, kVkDivide = 111;

// The finals of ESC O x for the keys from virtual key 106 on: * + separator - . /
constexpr std::string_view kKeypadOperatorFinals = "jklmno";

int ModifierParameter(TShiftState Shift) {
  return 1 + ((Shift & ssShift) != 0 ? 1 : 0) + ((Shift & ssAlt) != 0 ? 2 : 0) + ((Shift & ssCtrl) != 0 ? 4 : 0);
}
}  // namespace

const TFuncKeysTable FKeysXterm = {{
    {0x48, 0, E, "\x1b[A"},       {0x50, 0, E, "\x1b[B"},   {0x4D, 0, E, "\x1b[C"},   {0x4B, 0, E, "\x1b[D"},
    {0x47, 0, E, "\x1b[H"},       {0x4F, 0, E, "\x1b[F"},   {0x49, 0, E, "\x1b[5~"},  {0x51, 0, E, "\x1b[6~"},
    {0x52, 0, E, "\x1b[2~"},      {0x53, 0, E, "\x1b[3~"},  {0x48, 0, N, "\x1b[A"},   {0x50, 0, N, "\x1b[B"},
    {0x4D, 0, N, "\x1b[C"},       {0x4B, 0, N, "\x1b[D"},   {0x47, 0, N, "\x1b[H"},   {0x4F, 0, N, "\x1b[F"},
    {0x49, 0, N, "\x1b[5~"},      {0x51, 0, N, "\x1b[6~"},  {0x52, 0, N, "\x1b[2~"},  {0x53, 0, N, "\x1b[3~"},
    {0x3B, 0, N, "\x1bOP"},       {0x3C, 0, N, "\x1bOQ"},   {0x3D, 0, N, "\x1bOR"},   {0x3E, 0, N, "\x1bOS"},
    {0x3F, 0, N, "\x1b[15~"},     {0x40, 0, N, "\x1b[17~"}, {0x41, 0, N, "\x1b[18~"}, {0x42, 0, N, "\x1b[19~"},
    {0x43, 0, N, "\x1b[20~"},     {0x44, 0, N, "\x1b[21~"}, {0x57, 0, N, "\x1b[23~"}, {0x58, 0, N, "\x1b[24~"},
    {0x0F, ssShift, N, "\x1b[Z"}, {0x0E, 0, N, "\x7f"},
}};

std::string XtermKeyBytes(std::string_view TableValue, TShiftState Shift, bool CursorKeysApp) {
  const int modifier = ModifierParameter(Shift);
  const bool csi = TableValue.size() >= 3 && TableValue.substr(0, 2) == "\x1b[";
  const bool ss3 = TableValue.size() == 3 && TableValue.substr(0, 2) == "\x1bO";
  const char final = TableValue.empty() ? '\0' : TableValue.back();
  std::string bytes;
  if (modifier == 1) {
    const bool cursorKey = csi && TableValue.size() == 3 && IsCursorFinal(final);
    bytes = CursorKeysApp && cursorKey ? std::string("\x1bO") + final : std::string(TableValue);
  } else if ((csi && TableValue.size() == 3) || ss3) {  // ESC [ 1 ; m X
    bytes.append("\x1b[1;").append(std::to_string(modifier)).push_back(final);
  } else if (csi && final == '~') {  // ESC [ n ; m ~
    bytes.append(TableValue.substr(0, TableValue.size() - 1))
        .append(";")
        .append(std::to_string(modifier))
        .push_back('~');
  } else {  // no parameter form: Alt sends ESC first, as for characters
    if ((Shift & ssAlt) != 0) bytes.push_back('\x1b');
    bytes.append(TableValue);
  }
  return bytes;
}

bool IsKeypadCharacterKey(int VirtualKey, bool Ext) {
  return (VirtualKey >= kVkNumpad0 && VirtualKey <= kVkDivide) || (VirtualKey == kVkReturn && Ext);
}

std::string XtermKeypadAppBytes(int VirtualKey, bool Ext) {
  if (!IsKeypadCharacterKey(VirtualKey, Ext)) return {};
  std::string bytes = "\x1bO";
  if (VirtualKey == kVkReturn)
    bytes += 'M';
  else if (VirtualKey <= kVkNumpad9)
    bytes += static_cast<char>('p' + (VirtualKey - kVkNumpad0));
  else
    bytes += kKeypadOperatorFinals[static_cast<std::size_t>(VirtualKey - kVkNumpad9 - 1)];
  return bytes;
}

}  // namespace corvane
