#pragma once
// Which terminal the view emulates, and the emulation a setting names.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ascii_text.h"

namespace corvane {

// Classic: the terminal as designed (TScreen). Xterm: what hosts that were
// told TERM=xterm expect (TXtermScreen), chosen per host.
enum class TEmulation : std::uint8_t { Classic, Xterm };

// "Classic" or "Xterm" in any letter case; nothing for another name.
inline std::optional<TEmulation> EmulationNamed(std::string_view Name) {
  if (platform::SameNameIgnoringCase(Name, "Classic")) return TEmulation::Classic;
  if (platform::SameNameIgnoringCase(Name, "Xterm")) return TEmulation::Xterm;
  return std::nullopt;
}

}  // namespace corvane
