#include "platform/ini_reader.h"

#include "platform/ascii_text.h"

namespace corvane::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) { return TrimBlanks(text, kBlanks); }

bool SameName(std::string_view a, std::string_view b) { return SameNameIgnoringCase(a, b); }

std::string_view Unquote(std::string_view value) {
  const bool quoted =
      value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
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

std::optional<std::string> TIniSection::Value(std::string_view key) const {
  for (const auto& [name, value] : Keys)
    if (SameName(name, key)) return value;
  return std::nullopt;
}

TIniSection ReadIniSection(std::istream& in, std::string_view section) {
  TIniSection found;
  std::string buffer;
  bool inSection = false;
  for (bool first = true; ReadBoundedLine(in, buffer); first = false) {
    std::string_view line = buffer;
    if (first && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection = close != std::string_view::npos && SameName(Trim(line.substr(1, close - 1)), section);
      found.Found = found.Found || inSection;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    found.Keys.emplace_back(Trim(line.substr(0, equals)), Unquote(Trim(line.substr(equals + 1))));
  }
  return found;
}

std::optional<std::string> FindIniValue(std::istream& in, std::string_view section, std::string_view key) {
  return ReadIniSection(in, section).Value(key);
}

}  // namespace corvane::platform
