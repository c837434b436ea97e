#pragma once
// Program-wide state and text forms of the keyboard mapping; the mapping itself
// is part of the terminal view (key_mapping.cpp).
#include <string>
#include <string_view>

#include "emulator/key_tables.h"

namespace corvane {

// Set by Ctrl+Alt+keypad *: the next key is described instead of sent.
extern bool KeyDefinitionArmed;

// Dead-key replacements, position for position (code page 1252).
constexpr std::string_view AccentBase = "aeiou";
constexpr std::string_view AccentCircumflex = "\xE2\xEA\xEE\xF4\xFB";
constexpr std::string_view AccentDiaeresis = "\xE4\xEB\xEF\xF6\xFC";

// "ssShift ssCtrl " and the like; "ssNormal" for no modifier.
std::string ShiftStateToString(TShiftState Shift);
// Printable bytes as they are, others (and ' and \) as \xHH.
std::string FuncKeyValueToString(std::string_view Value);
// The table line of a key: scan code, shift state, extended flag and, when the
// table has the key, its value.
std::string KeyDefinitionLine(const TFuncKeysTable& table, int ScanCode, TShiftState Shift, bool Ext);

}  // namespace corvane
