#pragma once
// How the telnet terminal reads numbers from its INI file.
#include <string_view>

namespace corvane {

// The upper limits of the settings that have no other: a larger font or
// line leaves no room for the screen.
constexpr int kMaxFontSize = 72;     // points
constexpr int kMaxLineHeight = 128;  // pixels

// A decimal number, or a hexadecimal one after "0x", "0X" or "$", with an
// optional sign; surrounding blanks are allowed. A number outside the 32-bit
// range gives the nearest 32-bit value; anything else gives `def`.
int ProfileInteger(std::string_view text, int def);

}  // namespace corvane
