// Key-down messages to bytes: table lookups, letters with Caps Lock, Shift
// and Ctrl, the dead key, and the key-learning aid.
#include "emulator/key_mapping.h"

#include <array>
#include <cstdio>

#include "emulator/terminal_view.h"
#include "emulator/typed_text.h"

namespace corvane {

bool KeyDefinitionArmed = false;

namespace {
constexpr int vkBack = 8, vkTab = 9, vkReturn = 13, vkEscape = 27;
constexpr int vkShift = 16, vkControl = 17, vkMenu = 18;
constexpr int vkPrior = 33, vkDown = 40;
constexpr int vkF10 = 121;
constexpr int vkA = 65, vkZ = 90;
constexpr int vkDeadKey = 221;
constexpr int kKeypadStarScanCode = 0x37;

struct TShiftName {
  TShiftState Bit;
  const char* Name;
};
constexpr std::array<TShiftName, 7> kShiftNames{{
    {ssShift, "ssShift "},
    {ssAlt, "ssAlt "},
    {ssCtrl, "ssCtrl "},
    {ssLeft, "ssLeft "},
    {ssRight, "ssRight "},
    {ssMiddle, "ssMiddle "},
    {ssDouble, "ssDouble "},
}};

std::string Hex2(int value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

// Replaces a lower-case vowel by its accented form from `accents`.
void Accent(char& Ch, std::string_view accents) {
  const std::size_t at = AccentBase.find(Ch);
  if (at != std::string_view::npos) Ch = accents[at];
}
}  // namespace

std::string ShiftStateToString(TShiftState Shift) {
  std::string text;
  for (const TShiftName& name : kShiftNames)
    if (Shift & name.Bit) text += name.Name;
  return text.empty() ? "ssNormal" : text;
}

std::string FuncKeyValueToString(std::string_view Value) {
  std::string text;
  for (const char ch : Value) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte <= 0x7E && byte != '\'' && byte != '\\')
      text += ch;
    else
      text += "\\x" + Hex2(byte);
  }
  return text;
}

std::string KeyDefinitionLine(const TFuncKeysTable& table, int ScanCode, TShiftState Shift, bool Ext) {
  std::string line = Hex2(ScanCode) + ", " + ShiftStateToString(Shift) + ", " + (Ext ? "TRUE" : "FALSE");
  if (const TFuncKey* key = FindDeliveredKey(table, ScanCode, Shift, Ext))
    line += ", '" + FuncKeyValueToString(key->Value) + "'";
  return line;
}

const TFuncKey* TCustomZuzeRI::FindFKey(int ScanCode, TShiftState Shift, bool Ext) const {
  return FindDeliveredKey(FuncKeysTable(FKeys), ScanCode, Shift, Ext);
}

bool TCustomZuzeRI::ProcessFKeys(int ScanCode, TShiftState Shift, bool Ext) {
  const TFuncKey* key = FindFKey(ScanCode, Shift, Ext);
  if (key == nullptr) return false;
  DoKeyBuffer(key->Value.data(), static_cast<int>(key->Value.size()));
  return true;
}

void TCustomZuzeRI::DoKeyBuffer(const char* Buffer, int Len) {
  if (OnKeyBuffer) {
    RaiseEvent(OnKeyBuffer, *this, Buffer, Len);
    return;
  }
  if (Buffer == nullptr) return;
  const auto alive = Watch();
  for (int i = 0; i < Len && alive; ++i) {
    char key = Buffer[i];
    KeyPress(key);
  }
}

void TCustomZuzeRI::CharTyped(char32_t Ch) {
  const std::string bytes = FXterm ? TypedBytes(Ch, FCharset) : std::string(1, TypedByte(Ch));
  const auto alive = Watch();
  for (std::size_t i = 0; i < bytes.size() && alive; ++i) {
    char key = bytes[i];
    KeyPress(key);
  }
}

// The keyboard translation belongs to the classic terminal's character set.
void TCustomZuzeRI::KeyPress(char& Key) {
  if (!FXterm && !FScreen->XlatIn) Key = static_cast<char>((*FScreen->XlatTable)[static_cast<unsigned char>(Key)]);
  const auto alive = Watch();
  RaiseEvent(OnKeyPress, *this, Key);
  if (alive && LocalEcho) {
    WriteByte(Key);
    if (!AutoRepaint) UpdateScreen();
  }
}

// F10 and Alt combinations arrive as system key-down messages; they reach the
// key tables, and the Alt combinations the tables do not claim are left to
// the menu (under the XTERM table their characters go to the host). F10
// without Alt is the terminal's key even where the table has no row for it:
// it sends nothing and never opens the menu.
void TCustomZuzeRI::AppMessageHandler(platform::TMessage& Msg, bool& Handled) {
  bool claimed = false;
  const bool system = Msg.Msg == platform::kSysKeyDownMessage;
  if (Msg.Window == FWindow->Handle() && (system || Msg.Msg == platform::kKeyDownMessage)) {
    const TKeyDown key = ReadKeyDown(Msg);
    claimed = HistoryKey(key) || (system ? HandleTableKey(key) : HandleKeyDown(key)) ||
              (key.Vk == vkF10 && !(key.Shift & ssAlt));
  } else if (Msg.Window == FWindow->Handle() && Msg.Msg == platform::kSysCharMessage) {
    claimed = AltCharTyped(static_cast<char32_t>(Msg.WParam));
  }
  if (claimed)
    Handled = true;
  else if (FSavedOnMessage)
    FSavedOnMessage(Msg, Handled);
}

TCustomZuzeRI::TKeyDown TCustomZuzeRI::ReadKeyDown(const platform::TMessage& Msg) const {
  TKeyDown key;
  key.Vk = static_cast<int>(Msg.WParam & 0xFF);
  if (FKeyboard->ShiftDown()) key.Shift |= ssShift;
  if (FKeyboard->CtrlDown()) key.Shift |= ssCtrl;
  if (platform::KeyAltDown(Msg)) key.Shift |= ssAlt;
  key.CapsLock = FKeyboard->CapsLockOn();
  key.ScanCode = platform::KeyScanCode(Msg);
  key.Ext = platform::KeyExtended(Msg);
  return key;
}

// The key-learning aid and the table lookup; the modifier keys themselves
// never reach them. Returns whether the key is claimed.
bool TCustomZuzeRI::HandleTableKey(const TKeyDown& Key) {
  if (Key.Vk == vkShift || Key.Vk == vkControl || Key.Vk == vkMenu) return false;
  if (Key.ScanCode == kKeypadStarScanCode && Key.Shift == (ssAlt | ssCtrl) && !Key.Ext) {
    KeyDefinitionArmed = true;
    return true;
  }
  if (KeyDefinitionArmed) {
    KeyDefinitionArmed = false;
    ShowKeyDefinition(Key.ScanCode, Key.Shift, Key.Ext);
    return true;
  }
  if (XtermKeys()) return HandleXtermKey(Key);
  return ProcessFKeys(Key.ScanCode, Key.Shift, Key.Ext);
}

// Returns whether the message is claimed (not translated or dispatched).
bool TCustomZuzeRI::HandleKeyDown(const TKeyDown& Key) {
  if (HandleTableKey(Key)) return true;
  const int vk = Key.Vk;
  char Ch = static_cast<char>(vk);
  bool claimed = false;
  if (vk == vkBack || vk == vkTab || vk == vkReturn || vk == vkEscape) {
    claimed = true;
  } else if (vk >= vkPrior && vk <= vkDown) {
    // The keypad's cursor keys are not extended; they send what the grey ones do.
    return ProcessFKeys(Key.ScanCode, Key.Shift, true);
  } else if (vk >= vkA && vk <= vkZ) {
    if (Key.Shift & ssCtrl)
      Ch = static_cast<char>(Ch & 0x1F);
    else if (!Key.CapsLock && !(Key.Shift & ssShift))
      Ch = static_cast<char>(Ch | 0x20);
    if (FCircumflexPending) Accent(Ch, AccentCircumflex);
    if (FDiaeresisPending) Accent(Ch, AccentDiaeresis);
    FCircumflexPending = false;
    FDiaeresisPending = false;
    claimed = true;
  } else if (vk == vkDeadKey && !(Key.Shift & ssAlt) && FKeyboard->DeadKey(vk)) {
    Ch = 0;
    claimed = true;
    if (Key.Shift & ssShift)
      FDiaeresisPending = true;
    else
      FCircumflexPending = true;
  }
  if (claimed && Ch != 0) KeyPress(Ch);
  return claimed;
}

void TCustomZuzeRI::ShowKeyDefinition(int ScanCode, TShiftState Shift, bool Ext) {
  const std::string line = KeyDefinitionLine(FuncKeysTable(FKeys), ScanCode, Shift, Ext);
  FClipboard->SetText(line);
  FMessageBox->ShowOk(line, "Key definition from reduru" + std::to_string(FKeys) + ".cfg");
}

}  // namespace corvane
