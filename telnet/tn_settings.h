#pragma once
// How the telnet terminal reads numbers from its INI file.
#include <string_view>

namespace corvane {

// A decimal number, or a hexadecimal one after "0x", "0X" or "$", with an
// optional sign; surrounding blanks are allowed. Anything else, and a number
// outside the 32-bit range, gives `def`.
int ProfileInteger(std::string_view text, int def);

}  // namespace corvane
