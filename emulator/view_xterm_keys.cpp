// The terminal view's keys under the XTERM table: Shift, Alt and Ctrl as
// xterm's modifier parameter, the cursor-key and keypad modes the host set,
// and Alt with a character as ESC and the character.
#include <string>

#include "emulator/terminal_view.h"
#include "emulator/xterm_keys.h"

namespace corvane {
namespace {
constexpr int kVkF4 = 115, kVkReturn = 13;
}  // namespace

bool TCustomZuzeRI::XtermKeys() const { return &FuncKeysTable(FKeys) == &FKeysXterm; }

// A key without a row for its shift state takes its unmodified row, and the
// modifiers go into the sequence. The keypad's character keys never match a
// row by their scan code (keypad 7 shares the code of Home): they type their
// characters unless the host asked for the application keypad. Alt with them
// stays the system's character entry by code, and Alt+F4 closes the window.
bool TCustomZuzeRI::HandleXtermKey(const TKeyDown& Key) {
  if (Key.Vk == kVkF4 && Key.Shift == ssAlt) return false;
  if (Key.Vk == kVkReturn && NewLineReturn(Key)) return true;
  if (IsKeypadCharacterKey(Key.Vk, Key.Ext)) {
    if (!FXterm || !FXterm->Modes().KeypadApp || (Key.Shift & ssAlt)) return false;
    const std::string bytes = XtermKeypadAppBytes(Key.Vk, Key.Ext);
    DoKeyBuffer(bytes.data(), static_cast<int>(bytes.size()));
    return true;
  }
  TShiftState modifiers = 0;
  const TFuncKey* row = FindDeliveredKey(FKeysXterm, Key.ScanCode, Key.Shift, Key.Ext);
  if (row == nullptr) {
    row = FindDeliveredKey(FKeysXterm, Key.ScanCode, 0, Key.Ext);
    modifiers = Key.Shift;
  }
  if (row == nullptr) return false;
  const std::string bytes = XtermKeyBytes(row->Value, modifiers, FXterm && FXterm->Modes().CursorKeysApp);
  DoKeyBuffer(bytes.data(), static_cast<int>(bytes.size()));
  return true;
}

// In new-line mode (LNM) Return sends CR LF, as does keypad Enter unless the
// host asked for the application keypad.
bool TCustomZuzeRI::NewLineReturn(const TKeyDown& Key) {
  if (!FXterm || !FXterm->Modes().NewLine || (Key.Shift & ssAlt) || (Key.Ext && FXterm->Modes().KeypadApp))
    return false;
  DoKeyBuffer("\r\n", 2);
  return true;
}

// Alt+Space stays the window's system menu.
bool TCustomZuzeRI::AltCharTyped(char32_t Ch) {
  if (!XtermKeys() || Ch == U' ') return false;
  const auto alive = Watch();
  DoKeyBuffer("\x1b", 1);
  if (alive) CharTyped(Ch);
  return true;
}

}  // namespace corvane
