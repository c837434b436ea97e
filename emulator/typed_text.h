#pragma once
// Typed and pasted characters as the bytes a host receives, the same on every
// platform: each character's code page 1252 code for the classic terminal,
// the host's character set for the Xterm emulation.
#include <string>
#include <string_view>

#include "emulator/text_decoder.h"

namespace corvane {

// "?" for a character that code page 1252 lacks.
char TypedByte(char32_t Ch);

// Clipboard text for the host: each character as TypedByte, and a line feed
// that no carriage return precedes as CR LF.
std::string PastedBytes(std::u32string_view Text);

// Ch in the host's character set: UTF-8, Latin-1 or code page 437, "?" for a
// character the set lacks (U+FFFD for one UTF-8 cannot carry).
std::string TypedBytes(char32_t Ch, TCharset Charset);

// PastedBytes in the host's character set.
std::string PastedBytes(std::u32string_view Text, TCharset Charset);

// Pasted bytes between ESC [ 2 0 0 ~ and ESC [ 2 0 1 ~, with both sequences
// taken out of the text itself so that a paste cannot end its bracket early.
std::string BracketedPaste(std::string_view Bytes);

}  // namespace corvane
