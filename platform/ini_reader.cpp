#include "platform/ini_reader.h"

namespace corvane::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string_view Unquote(std::string_view value) {
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

// Reads one line without its LF, keeping at most kMaxIniLine characters.
// False at the end of the input when nothing was read.
bool ReadBoundedLine(std::istream& in, std::string& line) {
  line.clear();
  std::istream::int_type c = in.get();
  if (c == std::istream::traits_type::eof()) return false;
  for (; c != std::istream::traits_type::eof() && c != '\n'; c = in.get())
    if (line.size() < kMaxIniLine) line += static_cast<char>(c);
  return true;
}

}  // namespace

std::optional<std::string> FindIniValue(std::istream& in, std::string_view section,
                                        std::string_view key) {
  std::string buffer;
  bool inSection = false;
  while (ReadBoundedLine(in, buffer)) {
    const std::string_view line = Trim(buffer);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection = close != std::string_view::npos && SameName(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    if (SameName(Trim(line.substr(0, equals)), key))
      return std::string(Unquote(Trim(line.substr(equals + 1))));
  }
  return std::nullopt;
}

}  // namespace corvane::platform
