#include "emulator/typed_text.h"

#include "platform/code_page_1252.h"
#include "platform/code_page_437.h"

namespace corvane {
namespace {
constexpr std::string_view kPasteStart = "\x1b[200~";
constexpr std::string_view kPasteEnd = "\x1b[201~";

// Appends each character's bytes, and CR before a line feed that no CR precedes.
template <typename TEncode>
std::string Pasted(std::u32string_view Text, TEncode Encode) {
  std::string bytes;
  bytes.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == U'\n' && (i == 0 || Text[i - 1] != U'\r')) bytes += '\r';
    Encode(bytes, Text[i]);
  }
  return bytes;
}

void AppendCharset(std::string& Out, char32_t Ch, TCharset Charset) {
  if (Ch < 0x80 || (Charset == TCharset::Latin1 && Ch <= 0xFF)) {
    Out += static_cast<char>(Ch);
    return;
  }
  if (Charset == TCharset::Utf8) {
    AppendUtf8(Out, Ch);
    return;
  }
  // The house (0x7F) is DEL, which no typed picture should send.
  const int code = Charset == TCharset::Cp437 ? platform::Cp437FromPicture(Ch) : -1;
  Out += code >= 0x80 ? static_cast<char>(code) : '?';
}

bool EndsWith(const std::string& Text, std::string_view Tail) {
  return Text.size() >= Tail.size() && std::string_view(Text).substr(Text.size() - Tail.size()) == Tail;
}
}  // namespace

char TypedByte(char32_t Ch) {
  const int code = platform::Cp1252FromUnicode(Ch);
  return code >= 0 ? static_cast<char>(code) : '?';
}

std::string PastedBytes(std::u32string_view Text) {
  return Pasted(Text, [](std::string& out, char32_t ch) { out += TypedByte(ch); });
}

std::string TypedBytes(char32_t Ch, TCharset Charset) {
  std::string bytes;
  AppendCharset(bytes, Ch, Charset);
  return bytes;
}

std::string PastedBytes(std::u32string_view Text, TCharset Charset) {
  return Pasted(Text, [Charset](std::string& out, char32_t ch) { AppendCharset(out, ch, Charset); });
}

// One pass: a marker that only forms once another is taken out (ESC [ 2 0
// inside ESC [ 2 0 1 ~ 1 ~) is found as the pass reaches its last byte.
std::string BracketedPaste(std::string_view Bytes) {
  std::string bytes(kPasteStart);
  bytes.reserve(Bytes.size() + kPasteStart.size() + kPasteEnd.size());
  for (const char byte : Bytes) {
    bytes += byte;
    if (byte != '~' || bytes.size() < kPasteStart.size() + kPasteStart.size()) continue;
    if (EndsWith(bytes, kPasteStart) || EndsWith(bytes, kPasteEnd)) bytes.resize(bytes.size() - kPasteEnd.size());
  }
  return bytes.append(kPasteEnd);
}

}  // namespace corvane
