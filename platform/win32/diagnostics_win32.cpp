#include <windows.h>

#include <string>

#include "platform/diagnostics.h"

namespace corvane::platform {

void PlatformDebugOutput(std::string_view piece) {
  const std::string text(piece);
  OutputDebugStringA(text.c_str());
}

void PlatformAlertSound() { MessageBeep(MB_ICONASTERISK); }

}  // namespace corvane::platform
