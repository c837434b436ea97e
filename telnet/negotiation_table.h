#pragma once
// What the connection answers to each WILL, WONT, DO and DONT, as data.
#include <cstdint>

namespace corvane {

// The table in use: the classic terminal's, or the Xterm emulation's, which
// also reports the window size.
enum class TnNegotiation : std::uint8_t { Classic, Xterm };

// What the connection does besides replying.
enum class TnEffect : std::uint8_t {
  None,
  SendLocation,    // the location follows the WILL reply
  SendWindowSize,  // the window size follows the WILL reply
};

struct TnAction {
  std::uint8_t reply;  // the verb sent back with the option; 0 = no reply
  TnEffect effect;
};

// The reaction to verb (TNCH_WILL .. TNCH_DONT) for option.
TnAction NegotiationAction(std::uint8_t verb, std::uint8_t option, TnNegotiation table = TnNegotiation::Classic);

}  // namespace corvane
