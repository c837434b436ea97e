#pragma once
// Code page 437, the character set of the terminal font: every byte has a
// picture, the control codes included. Toolkits that draw Unicode text map
// the stored codes through it, and copied text becomes those pictures.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::platform {

// The picture of a code as the font shows it; 0x00 is a blank.
char32_t Cp437ToUnicode(std::uint8_t code);

// The code above 0x7F (or 0x7F itself) whose picture is `ch`, or -1.
int Cp437FromPicture(char32_t ch);

// Copied screen bytes as clipboard text: CR LF pairs become line feeds, tab,
// carriage return and line feed stay what they are, every other code becomes
// the picture the screen showed.
std::u32string ClipboardTextFromCp437(std::string_view bytes);

}  // namespace corvane::platform
