// The byte notation of the script files, shared by the screen and telnet
// harnesses.
#include <cstdio>
#include <map>

#include "tests/screen/screen_script.h"

namespace corvane::test {
namespace {

const std::map<std::string_view, std::uint8_t> kByteNames = {
    {"NUL", 0x00}, {"BEL", 0x07}, {"BS", 0x08}, {"HT", 0x09}, {"LF", 0x0A},  {"VT", 0x0B},
    {"FF", 0x0C},  {"CR", 0x0D},  {"SO", 0x0E}, {"SI", 0x0F}, {"ESC", 0x1B},
};

std::string Unquote(std::string_view Body) {
  std::string bytes;
  for (std::size_t i = 0; i < Body.size(); ++i) {
    if (Body[i] != '\\' || i + 1 == Body.size()) {
      bytes += Body[i];
      continue;
    }
    const char escape = Body[++i];
    if (escape == 'x' && i + 2 < Body.size() && ParseNumber(Body.substr(i + 1, 2), 16)) {
      bytes += static_cast<char>(*ParseNumber(Body.substr(i + 1, 2), 16));
      i += 2;
    } else {
      bytes += escape == 'r' ? '\r' : escape == 'n' ? '\n' : escape == 't' ? '\t' : escape == 'e' ? '\x1b' : escape;
    }
  }
  return bytes;
}

}  // namespace

std::optional<long> ParseNumber(std::string_view Text, int Base) {
  if (Text.starts_with("-") && Base == 10) {
    auto magnitude = ParseNumber(Text.substr(1), Base);
    return magnitude ? std::optional<long>(-*magnitude) : std::nullopt;
  }
  if (Text.empty()) return std::nullopt;
  long value = 0;
  for (char ch : Text) {
    const int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                      : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                      : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                                               : 99;
    if (digit >= Base || value > 100000000) return std::nullopt;
    value = value * Base + digit;
  }
  return value;
}

// One token of the byte notation, with its repetition suffix.
std::string TokenBytes(std::string_view Token) {
  std::size_t repeat = 1;
  const std::size_t star = Token.rfind('*');
  const std::size_t quoteEnd = Token.rfind('"');
  if (star != std::string_view::npos && star > 0 && (quoteEnd == std::string_view::npos || star > quoteEnd)) {
    if (auto count = ParseNumber(Token.substr(star + 1), 10)) {
      repeat = static_cast<std::size_t>(*count);
      Token = Token.substr(0, star);
    }
  }
  std::string one;
  if (Token.size() >= 2 && Token.front() == '"' && Token.back() == '"')
    one = Unquote(Token.substr(1, Token.size() - 2));
  else if (auto name = kByteNames.find(Token); name != kByteNames.end())
    one = std::string(1, static_cast<char>(name->second));
  else if (Token.size() == 4 && Token.starts_with("0x") && ParseNumber(Token.substr(2), 16))
    one = std::string(1, static_cast<char>(*ParseNumber(Token.substr(2), 16)));
  else
    one = std::string(Token);
  std::string bytes;
  for (std::size_t i = 0; i < repeat; ++i) bytes += one;
  return bytes;
}

std::string Visible(std::string_view Bytes) {
  std::string text;
  for (unsigned char ch : Bytes) {
    char hex[8];
    if (ch >= 0x20 && ch < 0x7F && ch != '\\') {
      text += static_cast<char>(ch);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02X", ch);
      text += hex;
    }
  }
  return '"' + text + '"';
}

}  // namespace corvane::test
