#include "emulator/debug_out.h"

#include "platform/diagnostics.h"

namespace corvane {

std::uint32_t DebugCount = 0;

void DebugOut(std::string_view Msg) { platform::WriteNumbered(DebugCount, Msg, platform::WriteDiagnostic); }

}  // namespace corvane
