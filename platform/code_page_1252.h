#pragma once
// Code page 1252, the Windows ANSI page of Western Europe: the codes in which
// typed and pasted characters reach a host.
#include <cstdint>

namespace corvane::platform {

// The code of `ch` in code page 1252, or -1 where the page has none. The five
// unassigned codes of 0x80-0x9F and the C1 controls have none.
int Cp1252FromUnicode(char32_t ch);

}  // namespace corvane::platform
