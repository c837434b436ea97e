// Per-host settings: the section HostName of the INI file IniFilename, read
// only. Missing or malformed values give the defaults, without a message.
#include "telnet/tn_settings.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>

#include "platform/ascii_text.h"
#include "platform/profile.h"
#include "telnet/tnzuzeri.h"

namespace corvane {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) { return platform::TrimBlanks(text, kBlanks); }

// Removes `prefix` from the front of `text` when it is there.
bool Take(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// Settings applied after the font, in this order; Booleans are non-zero.
struct TIntegerKey {
  const char* Name;
  int Default;
  void (*Apply)(TTnZuzeRI& Terminal, int Value);
};
constexpr std::array<TIntegerKey, 11> kTerminalKeys{{
    {"LineHeight", 12, [](TTnZuzeRI& t, int v) { t.SetLineHeight(v); }},
    {"Rows", 25, [](TTnZuzeRI& t, int v) { t.SetRows(v); }},
    {"Cols", 80, [](TTnZuzeRI& t, int v) { t.SetCols(v); }},
    {"FKeys", 1, [](TTnZuzeRI& t, int v) { t.FKeys = v; }},
    {"AutoCR", 0, [](TTnZuzeRI& t, int v) { t.SetAutoCR(v != 0); }},
    {"AutoLF", 0, [](TTnZuzeRI& t, int v) { t.SetAutoLF(v != 0); }},
    {"LocalEcho", 0, [](TTnZuzeRI& t, int v) { t.LocalEcho = v != 0; }},
    {"MonoChrome", 0, [](TTnZuzeRI& t, int v) { t.MonoChrome = v != 0; }},
    {"UpperLock", 0, [](TTnZuzeRI& t, int v) { t.UpperLock = v != 0; }},
    {"Xlat", 0, [](TTnZuzeRI& t, int v) { t.SetXlat(v != 0); }},
    {"AutoWrap", 0, [](TTnZuzeRI& t, int v) { t.SetAutoWrap(v != 0); }},
}};

constexpr int kFontPitchVariable = 1;
constexpr int kFontPitchFixed = 2;
constexpr int kFontStyleBits = platform::fsBold | platform::fsItalic | platform::fsUnderline | platform::fsStrikeOut;

platform::TFontPitch PitchOf(int value) {
  if (value == kFontPitchVariable) return platform::TFontPitch::Variable;
  if (value == kFontPitchFixed) return platform::TFontPitch::Fixed;
  return platform::TFontPitch::Default;
}

}  // namespace

int ProfileInteger(std::string_view text, int def) {
  text = Trim(text);
  const bool negative = Take(text, "-");
  if (!negative) Take(text, "+");
  const int base = Take(text, "0x") || Take(text, "0X") || Take(text, "$") ? 16 : 10;
  std::int64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || magnitude < 0) return def;
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return def;
  return static_cast<int>(value);
}

void TTnZuzeRI::LoadSettings() {
  if (HostName.empty()) return;
  const auto text = [this](const char* key, const char* def) {
    return platform::ReadProfileString(IniFilename, HostName, key, def);
  };
  const auto integer = [&text](const char* key, int def) { return ProfileInteger(text(key, ""), def); };
  if (const std::string name = text("FontName", "Terminal"); name != "*") {
    platform::TFont font;
    font.Name = name;
    font.Size = integer("FontSize", 9);
    font.Pitch = PitchOf(integer("FontPitch", 12));
    font.Style = static_cast<std::uint8_t>(integer("FontStyle", 0) & kFontStyleBits);
    SetFont(font);
  }
  for (const TIntegerKey& key : kTerminalKeys) key.Apply(*this, integer(key.Name, key.Default));
}

}  // namespace corvane
