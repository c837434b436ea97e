#pragma once
// The host's text as Unicode characters, one byte at a time: UTF-8 (with
// U+FFFD for every malformed sequence), Latin-1, or code page 437.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

enum class TCharset : std::uint8_t { Utf8, Latin1, Cp437 };

// "UTF-8", "Latin-1" or "CP437" (any letter case); nothing for another name.
std::optional<TCharset> CharsetNamed(std::string_view Name);

constexpr char32_t kReplacementChar = U'\uFFFD';

// Ch in UTF-8 at the end of Out (U+FFFD for a surrogate or beyond U+10FFFF).
void AppendUtf8(std::string& Out, char32_t Ch);

class TTextDecoder {
 public:
  // Characters decoded from one byte above 0x7F: none while a UTF-8
  // sequence is incomplete, two when a malformed one ends at a new start.
  struct TDecoded {
    char32_t Chars[2];
    int Count = 0;
  };

  TCharset Charset() const { return FCharset; }
  void SetCharset(TCharset Value) {
    FCharset = Value;
    FNeed = 0;
  }

  TDecoded DecodeHigh(std::uint8_t Byte);
  // A byte below 0x80 arrived: an unfinished UTF-8 sequence is malformed.
  // Asked before every run of text, so it writes only when there is news.
  bool Interrupted() {
    if (FNeed == 0) return false;
    FNeed = 0;
    return true;
  }

 private:
  void Start(char32_t Bits, int Need, char32_t Min) {
    FCode = Bits;
    FNeed = Need;
    FMin = Min;
  }

  TCharset FCharset = TCharset::Utf8;
  char32_t FCode = 0;
  char32_t FMin = 0;  // the least code point the sequence may encode
  int FNeed = 0;      // continuation bytes still to come
};

}  // namespace corvane
