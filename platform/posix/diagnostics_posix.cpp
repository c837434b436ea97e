#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/diagnostics.h"

namespace corvane::platform {

// Diagnostics reach standard error only when CVTELNET_DEBUG is 1, so that a
// normal run stays quiet as it does on Windows without a debugger.
void PlatformDebugOutput(std::string_view piece) {
  static const bool enabled = [] {
    const char* value = std::getenv("CVTELNET_DEBUG");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  if (enabled) std::fwrite(piece.data(), 1, piece.size(), stderr);
}

// Without a window system the terminal bell is the nearest alert sound.
void PlatformAlertSound() { std::fputc('\a', stderr); }

}  // namespace corvane::platform
