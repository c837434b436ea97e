#pragma once
// The key tester's vocabulary: splitting received data into key sequences and
// naming each byte so that a user can read what a key sends.
#include <string>
#include <string_view>
#include <vector>

namespace corvane::demo {

// Splits data into the sequences that single keys send: CSI and SS3 escape
// sequences, ESC with one byte (an Alt combination), CR with its NUL or LF,
// and single bytes otherwise.
std::vector<std::string> SplitKeySequences(std::string_view data);

// "ESC [ A", "ESC O P", "^C", "CR NUL", "a", "SP", "0xE9".
std::string NameKeySequence(std::string_view sequence);

// The key that sends a sequence in the VT100 or XTERM key table, with its
// modifiers: "Up", "Ctrl+Left", "F5", "Shift+Tab", "Keypad 7", "Alt+x"; empty
// for a sequence no key of theirs sends.
std::string KeyOfSequence(std::string_view sequence);

// The hexadecimal bytes: "1B 5B 41".
std::string HexBytes(std::string_view sequence);

}  // namespace corvane::demo
