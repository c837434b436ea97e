#pragma once
// The connection's numbered trace lines on the diagnostic channel.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Writes "NNNN " (the next sequence number, uppercase hex, at least four
// digits) and then msg, as two pieces. The numbering is shared by every
// connection of the process.
void DebugTrace(std::string_view msg);

// The line traced when a data byte 244..248 arrives, or empty for others.
std::string_view DataByteTrace(std::uint8_t ch);

// "Unknown HH 'c'\r\n" for a command byte the parser does not handle.
std::string UnknownCommandTrace(std::uint8_t ch);

inline constexpr std::string_view kEorTrace = "TNCH_EOR\r\n";

}  // namespace corvane
