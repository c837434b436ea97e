#pragma once
// Typed and pasted characters as the bytes a host receives, the same on every
// platform: each character's code page 1252 code.
#include <string>
#include <string_view>

namespace corvane {

// "?" for a character that code page 1252 lacks.
char TypedByte(char32_t Ch);

// Clipboard text for the host: each character as TypedByte, and a line feed
// that no carriage return precedes as CR LF.
std::string PastedBytes(std::u32string_view Text);

}  // namespace corvane
