#include "tools/demo_host/key_names.h"

#include <array>
#include <cstdio>
#include <span>

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

struct TFinalKey {
  char Final;
  const char* Key;
};
// The finals of ESC [ X, ESC [ 1 ; m X and ESC O X that name a key.
constexpr TFinalKey kCursorFinals[] = {{'A', "Up"},  {'B', "Down"}, {'C', "Right"}, {'D', "Left"}, {'H', "Home"},
                                       {'F', "End"}, {'P', "F1"},   {'Q', "F2"},    {'R', "F3"},   {'S', "F4"}};
// The keypad in application mode: ESC O X.
constexpr TFinalKey kKeypadFinals[] = {
    {'p', "Keypad 0"}, {'q', "Keypad 1"}, {'r', "Keypad 2"}, {'s', "Keypad 3"}, {'t', "Keypad 4"},    {'u', "Keypad 5"},
    {'v', "Keypad 6"}, {'w', "Keypad 7"}, {'x', "Keypad 8"}, {'y', "Keypad 9"}, {'j', "Keypad *"},    {'k', "Keypad +"},
    {'l', "Keypad ,"}, {'m', "Keypad -"}, {'n', "Keypad ."}, {'o', "Keypad /"}, {'M', "Keypad Enter"}};

struct TTildeKey {
  int Number;
  const char* Key;
};
// ESC [ n ~ and ESC [ n ; m ~.
constexpr TTildeKey kTildeKeys[] = {{2, "Insert"}, {3, "Delete"}, {5, "Page Up"}, {6, "Page Down"},
                                    {15, "F5"},    {17, "F6"},    {18, "F7"},     {19, "F8"},
                                    {20, "F9"},    {21, "F10"},   {23, "F11"},    {24, "F12"}};

template <typename TRow, typename TMatch>
const char* Lookup(const TRow& rows, TMatch match) {
  for (const auto& row : rows)
    if (match(row)) return row.Key;
  return nullptr;
}

const char* FinalKey(std::span<const TFinalKey> rows, char final) {
  return Lookup(rows, [final](const TFinalKey& row) { return row.Final == final; });
}

// xterm's modifier parameter: 1 + 1 for Shift, + 2 for Alt, + 4 for Ctrl.
std::string ModifierNames(int parameter) {
  const int bits = parameter - 1;
  std::string names;
  if (bits & 4) names += "Ctrl+";
  if (bits & 2) names += "Alt+";
  if (bits & 1) names += "Shift+";
  return names;
}

// Up to two decimal parameters of a CSI sequence; false for anything else.
bool CsiNumbers(std::string_view params, int& first, int& second) {
  first = second = -1;
  int* target = &first;
  for (const char c : params) {
    if (c == ';' && target == &first) {
      target = &second;
    } else if (c >= '0' && c <= '9' && *target < 100) {
      *target = (*target < 0 ? 0 : *target * 10) + (c - '0');
    } else {
      return false;
    }
  }
  return true;
}

std::string CsiKey(std::string_view params, char final) {
  if (final == 'Z') return params.empty() ? "Shift+Tab" : "";
  int number = 0;
  int modifier = 0;
  if (!CsiNumbers(params, number, modifier) || (modifier != -1 && (modifier < 2 || modifier > 8))) return "";
  const char* key = nullptr;
  if (final == '~')
    key = Lookup(kTildeKeys, [number](const TTildeKey& row) { return row.Number == number; });
  else if (number == -1 || (number == 1 && modifier != -1))
    key = FinalKey(kCursorFinals, final);
  return key == nullptr ? "" : ModifierNames(modifier == -1 ? 1 : modifier) + key;
}

}  // namespace

std::string KeyOfSequence(std::string_view sequence) {
  if (sequence.size() < 2 || sequence[0] != kEsc) return "";
  if (sequence.size() == 2) {
    const auto c = static_cast<unsigned char>(sequence[1]);
    return c > 0x20 && c <= 0x7F ? "Alt+" + ByteName(c) : "";
  }
  const char final = sequence.back();
  const char* key = nullptr;
  if (sequence[1] == 'O' && sequence.size() == 3) {
    key = FinalKey(kCursorFinals, final);
    if (key == nullptr) key = FinalKey(kKeypadFinals, final);
  } else if (sequence[1] == '[') {
    return CsiKey(sequence.substr(2, sequence.size() - 3), final);
  }
  return key == nullptr ? "" : key;
}

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
