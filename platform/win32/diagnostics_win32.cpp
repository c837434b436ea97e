#include <windows.h>

#include "platform/diagnostics.h"

namespace corvane::platform {

// The debugger's text ends at a 0 byte; a trace of received bytes may hold
// one, and what follows it must still be seen.
void PlatformDebugOutput(std::string_view piece) { OutputDebugStringA(WithoutZeroBytes(piece).c_str()); }

void PlatformAlertSound() { MessageBeep(MB_ICONASTERISK); }

}  // namespace corvane::platform
