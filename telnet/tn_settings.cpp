// Per-host settings: the section HostName of the INI file IniFilename, else
// its [Default] section, read at each load and only read. Missing or malformed values give the defaults, without
// a message; a file that cannot be read gives them all, with one.
#include "telnet/tn_settings.h"

#include <algorithm>
#include <array>
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
int DigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

bool Take(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

constexpr int kAny = std::numeric_limits<int>::max();

// The Xterm emulation has a default of its own where XtermDefault differs
// from kSameDefault.
constexpr int kSameDefault = std::numeric_limits<int>::min();
constexpr int kXtermKeyTable = 3;

// Settings applied after the font, in this order, each kept within its range
// (the nearest limit for a value outside); Booleans are non-zero.
struct TIntegerKey {
  const char* Name;
  int Default, Low, High;
  void (*Apply)(TTnZuzeRI& Terminal, int Value);
  int XtermDefault = kSameDefault;
};
// Rows and Cols go to the view, which keeps them within the limits of the
// emulation in use (50 x 132 for the classic terminal).
constexpr std::array<TIntegerKey, 13> kTerminalKeys{{
    {"LineHeight", 12, 1, kMaxLineHeight, [](TTnZuzeRI& t, int v) { t.SetLineHeight(v); }},
    {"Rows", 25, 1, kXtermMaxRows, [](TTnZuzeRI& t, int v) { t.SetRows(v); }},
    {"Cols", 80, 1, kXtermMaxCols, [](TTnZuzeRI& t, int v) { t.SetCols(v); }},
    {"FKeys", 1, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.FKeys = v; }, kXtermKeyTable},
    {"AutoCR", 0, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.SetAutoCR(v != 0); }},
    {"AutoLF", 0, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.SetAutoLF(v != 0); }},
    {"LocalEcho", 0, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.LocalEcho = v != 0; }},
    {"MonoChrome", 0, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.MonoChrome = v != 0; }},
    {"UpperLock", 0, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.UpperLock = v != 0; }},
    {"Xlat", 0, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.SetXlat(v != 0); }},
    {"AutoWrap", 0, -kAny, kAny, [](TTnZuzeRI& t, int v) { t.SetAutoWrap(v != 0); }},
    // Seconds; the longest idle time every system's TCP keepalive takes.
    {"KeepAlive", TWSocket::kDefaultKeepAlive, 0, 32767, [](TTnZuzeRI& t, int v) { t.TnCnx().KeepAlive = v; }},
    {"Scrollback", kDefaultScrollback, 0, kMaxScrollback, [](TTnZuzeRI& t, int v) { t.SetScrollback(v); }},
}};

constexpr int kFontPitchVariable = 1;
constexpr int kFontPitchFixed = 2;
constexpr int kFontStyleBits = platform::fsBold | platform::fsItalic | platform::fsUnderline | platform::fsStrikeOut;

// The terminal type goes to the host as it is: at most 40 printable ASCII
// characters without blanks (RFC 1091), else the default.
constexpr std::size_t kMaxTermType = 40;
std::string TermTypeOf(std::string_view value) {
  const bool good = !value.empty() && value.size() <= kMaxTermType &&
                    std::all_of(value.begin(), value.end(), [](char ch) { return ch > ' ' && ch < 0x7F; });
  return std::string(good ? value : "xterm");
}

// A host without a section of its own takes the [Default] section's
// settings, and without that the built-in defaults.
constexpr const char* kDefaultSection = "Default";
platform::TProfileSection HostSection(const std::string& file, const std::string& host) {
  platform::TProfileSection found = platform::ReadProfileSection(file, host);
  if (found.Problem.empty() && !found.Section.Found) found = platform::ReadProfileSection(file, kDefaultSection);
  return found;
}

platform::TFontPitch PitchOf(int value) {
  if (value == kFontPitchVariable) return platform::TFontPitch::Variable;
  if (value == kFontPitchFixed) return platform::TFontPitch::Fixed;
  return platform::TFontPitch::Default;
}

}  // namespace

// Digits beyond what an int holds only push the value further out: it
// saturates, so that the ranges clamp it to their nearest limit.
int ProfileInteger(std::string_view text, int def) {
  text = Trim(text);
  const bool negative = Take(text, "-");
  if (!negative) Take(text, "+");
  const int base = Take(text, "0x") || Take(text, "0X") || Take(text, "$") ? 16 : 10;
  constexpr std::int64_t kSaturated = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  for (const char ch : text) {
    const int digit = DigitValue(ch);
    if (digit < 0 || digit >= base) return def;
    magnitude = std::min(magnitude * base + digit, kSaturated);
  }
  if (text.empty()) return def;
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The emulation comes first: the limits of Rows and Cols and the default
// key table depend on it.
std::string TTnZuzeRI::LoadSettings(std::optional<TEmulation> Emulation) {
  if (HostName.empty()) {
    if (Emulation) SetEmulation(*Emulation);
    return {};
  }
  const platform::TProfileSection found = HostSection(IniFilename, HostName);
  const auto text = [&found](const char* key, const char* def) { return found.Section.Value(key).value_or(def); };
  const auto integer = [&text](const char* key, int def, int low, int high) {
    return std::clamp(ProfileInteger(text(key, ""), def), low, high);
  };
  SetEmulation(Emulation.value_or(EmulationNamed(Trim(text("Emulation", ""))).value_or(TEmulation::Classic)));
  const bool xterm = this->Emulation() == TEmulation::Xterm;
  SetCharset(CharsetNamed(Trim(text("Charset", ""))).value_or(TCharset::Utf8));
  XtermTermType = TermTypeOf(Trim(text("TermType", "")));
  if (const std::string name = text("FontName", "Terminal"); name != "*") {
    platform::TFont font;
    font.Name = name;
    font.Size = integer("FontSize", 9, 1, kMaxFontSize);
    font.Pitch = PitchOf(integer("FontPitch", 12, -kAny, kAny));
    font.Style = static_cast<std::uint8_t>(integer("FontStyle", 0, -kAny, kAny) & kFontStyleBits);
    SetFont(font);
  }
  for (const TIntegerKey& key : kTerminalKeys) {
    const int def = xterm && key.XtermDefault != kSameDefault ? key.XtermDefault : key.Default;
    key.Apply(*this, integer(key.Name, def, key.Low, key.High));
  }
  return found.Problem.empty() ? std::string() : found.Problem + "; the default settings are used";
}

}  // namespace corvane
