#pragma once
// Private profile (INI) text: "[section]" lines, "key=value" lines and ";"
// comments, read with the rules of the Windows profile functions.
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::platform {

// The longest line kept; the rest of a longer line is skipped, so that a file
// of any content is read in bounded memory. Values are never longer.
constexpr std::size_t kMaxIniLine = 1024;

// The value of `key` in a section named `section`, both matched without
// regard to ASCII case: the text after the first "=", without surrounding
// blanks and without one pair of matching quotes around it. The first such
// key in the file wins; nothing when there is none.
std::optional<std::string> FindIniValue(std::istream& in, std::string_view section, std::string_view key);

}  // namespace corvane::platform
