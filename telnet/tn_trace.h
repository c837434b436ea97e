#pragma once
// The connection's numbered trace lines on the diagnostic channel.
#include <string_view>

namespace corvane {

// Writes "NNNN " (the next sequence number, uppercase hex, at least four
// digits) and then msg, as two pieces. The numbering is shared by every
// connection of the process.
void DebugTrace(std::string_view msg);

}  // namespace corvane
