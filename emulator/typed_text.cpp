#include "emulator/typed_text.h"

#include "platform/code_page_1252.h"

namespace corvane {

char TypedByte(char32_t Ch) {
  const int code = platform::Cp1252FromUnicode(Ch);
  return code >= 0 ? static_cast<char>(code) : '?';
}

std::string PastedBytes(std::u32string_view Text) {
  std::string bytes;
  bytes.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == U'\n' && (i == 0 || Text[i - 1] != U'\r')) bytes += '\r';
    bytes += TypedByte(Text[i]);
  }
  return bytes;
}

}  // namespace corvane
