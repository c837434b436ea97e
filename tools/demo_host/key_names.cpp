#include "tools/demo_host/key_names.h"

#include <array>
#include <cstdio>

namespace corvane::demo {
namespace {

constexpr char kEsc = 0x1B;
// A CSI sequence longer than this is not a key; it is cut here.
constexpr size_t kMaxSequence = 16;

bool IsCsiFinal(unsigned char c) { return c >= 0x40 && c <= 0x7E; }

// Length of the escape sequence that starts at data[0] (an ESC).
size_t EscapeLength(std::string_view data) {
  if (data.size() < 2) return 1;
  if (data[1] == 'O') return data.size() >= 3 ? 3 : 2;
  if (data[1] != '[') return 2;
  size_t i = 2;
  if (i < data.size() && data[i] == '[') ++i;  // ESC [ [ A, the console's F1
  while (i < data.size() && i < kMaxSequence) {
    if (IsCsiFinal(static_cast<unsigned char>(data[i]))) return i + 1;
    ++i;
  }
  return i;
}

size_t SequenceLength(std::string_view data) {
  if (data[0] == kEsc) return EscapeLength(data);
  if (data[0] == '\r' && data.size() >= 2 && (data[1] == '\0' || data[1] == '\n')) return 2;
  return 1;
}

constexpr std::array<const char*, 32> kControlNames = {
    "NUL", "^A", "^B", "^C", "^D", "^E", "^F", "^G", "BS", "TAB", "LF", "^K",  "^L",  "CR", "^N", "^O",
    "^P",  "^Q", "^R", "^S", "^T", "^U", "^V", "^W", "^X", "^Y",  "^Z", "ESC", "^\\", "^]", "^^", "^_"};

std::string ByteName(unsigned char c) {
  if (c < 0x20) return kControlNames[c];
  if (c == ' ') return "SP";
  if (c == 0x7F) return "DEL";
  if (c < 0x7F) return std::string(1, static_cast<char>(c));
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", c);
  return hex;
}

}  // namespace

std::vector<std::string> SplitKeySequences(std::string_view data) {
  std::vector<std::string> sequences;
  while (!data.empty()) {
    size_t n = SequenceLength(data);
    sequences.emplace_back(data.substr(0, n));
    data.remove_prefix(n);
  }
  return sequences;
}

std::string NameKeySequence(std::string_view sequence) {
  std::string name;
  for (unsigned char c : sequence) {
    if (!name.empty()) name += ' ';
    name += ByteName(c);
  }
  return name;
}

std::string HexBytes(std::string_view sequence) {
  std::string hex;
  for (unsigned char c : sequence) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X", c);
    if (!hex.empty()) hex += ' ';
    hex += byte;
  }
  return hex;
}

}  // namespace corvane::demo
