#pragma once
// How many cells a character takes on a terminal grid.

namespace corvane {

// 0 for combining marks and other characters that take no cell of their
// own, 2 for East Asian wide and full-width characters (and emoji), 1 for
// the rest.
int CharWidth(char32_t Ch);

}  // namespace corvane
