#pragma once
// Maps from a received code to the stored code page 437 code.
#include <array>
#include <cstdint>

namespace corvane {

using TXlatTable = std::array<std::uint8_t, 256>;

// 0x00-0x7F unchanged, 0x80-0x9F to space, ISO 8859-1 to code page 437 above.
extern const TXlatTable AsciiTable;
// AsciiTable with the DEC line-drawing letters 0x6A-0x78 as box characters.
extern const TXlatTable GraphicsTable;

}  // namespace corvane
