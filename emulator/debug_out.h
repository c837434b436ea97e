#pragma once
// Numbered one-line messages on the platform's diagnostic channel.
#include <cstdint>
#include <string_view>

namespace corvane {

// Messages sent so far by every screen; the first message is numbered 1.
// Unsigned so that a very long run wraps instead of overflowing.
extern std::uint32_t DebugCount;

// Counts the message, then writes its number (at least four upper-case hex
// digits and a space) and the message as two pieces.
void DebugOut(std::string_view Msg);

}  // namespace corvane
