#pragma once
// What the connection answers to each WILL, WONT, DO and DONT, as data.
#include <cstdint>

namespace corvane {

// What the connection notes or does besides replying.
enum class TnEffect : std::uint8_t {
  None,
  SetBinary,       // the host's WILL TRANSMIT-BINARY was accepted
  ClearBinary,     // ... and withdrawn
  NoteEcho,        // the host's WILL ECHO was accepted
  NoteSga,         // the host's WILL SUPPRESS-GO-AHEAD was accepted
  SendLocation,    // the location follows the WILL reply
  NoteTypeOrEor,   // DO TERMINAL-TYPE or DO END-OF-RECORD was agreed to
};

struct TnAction {
  std::uint8_t reply;  // the verb sent back with the option; 0 = no reply
  TnEffect effect;
};

// The reaction to verb (TNCH_WILL .. TNCH_DONT) for option.
TnAction NegotiationAction(std::uint8_t verb, std::uint8_t option);

}  // namespace corvane
