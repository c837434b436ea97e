#pragma once
// The texts of the protocol's trace lines.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// The line traced when a data byte 244..248 arrives, or empty for others.
std::string_view DataByteTrace(std::uint8_t ch);

// "Unknown HH 'c'\r\n" for a command byte the parser does not handle.
std::string UnknownCommandTrace(std::uint8_t ch);

// "Unfinished TNCH_SB before HH\r\n": a command other than SE ended a
// sub-negotiation.
std::string UnfinishedSubNegotiationTrace(std::uint8_t ch);

inline constexpr std::string_view kEorTrace = "TNCH_EOR\r\n";

}  // namespace corvane
