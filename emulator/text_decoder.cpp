#include "emulator/text_decoder.h"

#include "platform/ascii_text.h"
#include "platform/code_page_437.h"

namespace corvane {

std::optional<TCharset> CharsetNamed(std::string_view Name) {
  if (platform::SameNameIgnoringCase(Name, "UTF-8")) return TCharset::Utf8;
  if (platform::SameNameIgnoringCase(Name, "Latin-1")) return TCharset::Latin1;
  if (platform::SameNameIgnoringCase(Name, "CP437")) return TCharset::Cp437;
  return std::nullopt;
}

void AppendUtf8(std::string& Out, char32_t Ch) {
  if ((Ch >= 0xD800 && Ch <= 0xDFFF) || Ch > 0x10FFFF) Ch = kReplacementChar;
  if (Ch < 0x80) {
    Out.push_back(static_cast<char>(Ch));
    return;
  }
  // The lead byte carries the length; each continuation byte six bits.
  const int continuations = Ch < 0x800 ? 1 : Ch < 0x10000 ? 2 : 3;
  constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  Out.push_back(static_cast<char>(kLead[continuations] | Ch >> (6 * continuations)));
  for (int k = continuations - 1; k >= 0; --k) Out.push_back(static_cast<char>(0x80 | (Ch >> (6 * k) & 0x3F)));
}

TTextDecoder::TDecoded TTextDecoder::DecodeHigh(std::uint8_t Byte) {
  TDecoded out;
  if (FCharset == TCharset::Latin1) {
    out.Chars[out.Count++] = Byte;
    return out;
  }
  if (FCharset == TCharset::Cp437) {
    out.Chars[out.Count++] = platform::Cp437ToUnicode(Byte);
    return out;
  }
  if (Byte >= 0x80 && Byte <= 0xBF) {  // a continuation byte
    if (FNeed == 0) {
      out.Chars[out.Count++] = kReplacementChar;
      return out;
    }
    FCode = FCode << 6 | (Byte & 0x3Fu);
    if (--FNeed > 0) return out;
    const bool valid = FCode >= FMin && FCode <= 0x10FFFF && (FCode < 0xD800 || FCode > 0xDFFF);
    out.Chars[out.Count++] = valid ? FCode : kReplacementChar;
    return out;
  }
  if (FNeed > 0) out.Chars[out.Count++] = kReplacementChar;  // cut short by a new start
  FNeed = 0;
  if (Byte >= 0xC2 && Byte <= 0xDF) {
    Start(Byte & 0x1Fu, 1, 0x80);
  } else if (Byte >= 0xE0 && Byte <= 0xEF) {
    Start(Byte & 0x0Fu, 2, 0x800);
  } else if (Byte >= 0xF0 && Byte <= 0xF4) {
    Start(Byte & 0x07u, 3, 0x10000);
  } else {  // C0, C1 (overlong) and F5..FF never start a sequence
    out.Chars[out.Count++] = kReplacementChar;
  }
  return out;
}

}  // namespace corvane
