#pragma once
// Keys named on the command line, pressed through the terminal's own key
// mapping as a keyboard would press them.
#include <optional>
#include <string>
#include <string_view>

#include "emulator/terminal_view.h"

namespace corvane {

// A key as the window system reports its key-down message. Keys that the
// mapping does not claim become the character that the platform's key
// translation would make of them (0 for none).
struct TNamedKey {
  const char* Name;
  int VirtualKey;
  int ScanCode;
  bool Extended;
  char Char;
};

// A key with the modifiers held while it is pressed.
struct TKeyPress {
  const TNamedKey* Key = nullptr;
  bool Shift = false;
  bool Ctrl = false;
};

// "Up", "f1", "Shift+F3", "ctrl+KP8": names without regard to case, with any
// "Shift+" and "Ctrl+" prefixes. Nothing for an unknown name.
std::optional<TKeyPress> ParseKeyName(std::string_view text);

// The names known, separated by blanks, for the usage text.
std::string KnownKeyNames();

// Keyboard state for one key press at a time.
class TPressKeyboard final : public platform::TKeyboardPort {
 public:
  bool Shift = false, Ctrl = false;
  bool ShiftDown() override { return Shift; }
  bool CtrlDown() override { return Ctrl; }
  bool CapsLockOn() override { return false; }
  bool DeadKey(int) override { return false; }  // a US layout has none
};

// Offers the key-down message to the application's message hook (installed
// by the view while it has focus); a key that nothing claims is typed as its
// character. The view's window is the one the message is addressed to.
void PressKey(TCustomZuzeRI& View, const void* Window, TPressKeyboard& Keyboard, const TKeyPress& Press);

}  // namespace corvane
