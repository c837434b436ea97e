#pragma once
// Private profile (INI) text: "[section]" lines, "key=value" lines and ";"
// comments, read with the rules of the Windows profile functions.
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::platform {

// The longest line kept; the rest of a longer line is skipped, so that a file
// of any content is read in bounded memory. Values are never longer.
constexpr std::size_t kMaxIniLine = 1024;

// The keys of one section as read in one pass over the file.
struct TIniSection {
  std::vector<std::pair<std::string, std::string>> Keys;  // in file order
  bool Found = false;                                     // a header names it, keys or none

  // The first value of `key`, matched without regard to ASCII case.
  std::optional<std::string> Value(std::string_view key) const;
};

// Every key of the sections named `section` (without regard to ASCII case):
// the text after the first "=", without surrounding blanks and without one
// pair of matching quotes around it. A UTF-8 byte-order mark at the start of
// the text is skipped.
TIniSection ReadIniSection(std::istream& in, std::string_view section);

// The first value of `key` in the sections named `section`; nothing when
// there is none.
std::optional<std::string> FindIniValue(std::istream& in, std::string_view section, std::string_view key);

}  // namespace corvane::platform
