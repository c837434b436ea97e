#include "tools/session/named_keys.h"

#include <array>

#include "platform/ascii_text.h"

namespace corvane {
namespace {

// The keypad keys are those with Num Lock off: the cursor keys among them
// are not extended, Clear (KP5) and the operators are not in any key table.
constexpr std::array<TNamedKey, 42> kKeys{{
    {"Up", 38, 0x48, true, 0},          {"Down", 40, 0x50, true, 0},       {"Left", 37, 0x4B, true, 0},
    {"Right", 39, 0x4D, true, 0},       {"Home", 36, 0x47, true, 0},       {"End", 35, 0x4F, true, 0},
    {"PgUp", 33, 0x49, true, 0},        {"PgDn", 34, 0x51, true, 0},       {"Ins", 45, 0x52, true, 0},
    {"Del", 46, 0x53, true, 0},         {"F1", 112, 0x3B, false, 0},       {"F2", 113, 0x3C, false, 0},
    {"F3", 114, 0x3D, false, 0},        {"F4", 115, 0x3E, false, 0},       {"F5", 116, 0x3F, false, 0},
    {"F6", 117, 0x40, false, 0},        {"F7", 118, 0x41, false, 0},       {"F8", 119, 0x42, false, 0},
    {"F9", 120, 0x43, false, 0},        {"F10", 121, 0x44, false, 0},      {"F11", 122, 0x57, false, 0},
    {"F12", 123, 0x58, false, 0},       {"Enter", 13, 0x1C, false, 0},     {"Tab", 9, 0x0F, false, 0},
    {"Esc", 27, 0x01, false, 0},        {"BackSpace", 8, 0x0E, false, 0},  {"KP0", 45, 0x52, false, 0},
    {"KP1", 35, 0x4F, false, 0},        {"KP2", 40, 0x50, false, 0},       {"KP3", 34, 0x51, false, 0},
    {"KP4", 37, 0x4B, false, 0},        {"KP5", 12, 0x4C, false, 0},       {"KP6", 39, 0x4D, false, 0},
    {"KP7", 36, 0x47, false, 0},        {"KP8", 38, 0x48, false, 0},       {"KP9", 33, 0x49, false, 0},
    {"KPDot", 46, 0x53, false, 0},      {"KPEnter", 13, 0x1C, true, 0},    {"KPPlus", 107, 0x4E, false, '+'},
    {"KPMinus", 109, 0x4A, false, '-'}, {"KPStar", 106, 0x37, false, '*'}, {"KPSlash", 111, 0x35, true, '/'},
}};

bool SameName(std::string_view a, std::string_view b) { return platform::SameNameIgnoringCase(a, b); }

// Removes a modifier prefix such as "Shift+" from the front of `text`.
bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (text.size() <= prefix.size() || !SameName(text.substr(0, prefix.size()), prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

}  // namespace

std::optional<TKeyPress> ParseKeyName(std::string_view text) {
  TKeyPress press;
  for (bool more = true; more;) {
    more = false;
    if (TakePrefix(text, "Shift+")) more = press.Shift = true;
    if (TakePrefix(text, "Ctrl+")) more = press.Ctrl = true;
  }
  for (const TNamedKey& key : kKeys)
    if (SameName(key.Name, text)) {
      press.Key = &key;
      return press;
    }
  return std::nullopt;
}

std::string KnownKeyNames() {
  std::string names;
  for (const TNamedKey& key : kKeys) names += std::string(names.empty() ? "" : " ") + key.Name;
  return names;
}

void PressKey(TCustomZuzeRI& View, const void* Window, TPressKeyboard& Keyboard, const TKeyPress& Press) {
  Keyboard.Shift = Press.Shift;
  Keyboard.Ctrl = Press.Ctrl;
  const TNamedKey& key = *Press.Key;
  platform::TMessage message = platform::MakeKeyDown(Window, key.VirtualKey, key.ScanCode, key.Extended);
  if (!platform::OfferToAppMessageHook(message) && key.Char != 0) {
    char ch = key.Char;
    View.KeyPress(ch);
  }
  Keyboard.Shift = Keyboard.Ctrl = false;
}

}  // namespace corvane
