#include "telnet/tn_trace.h"

#include <cstdint>

#include "platform/diagnostics.h"

namespace corvane {
namespace {

// Shared by every connection of the process.
std::uint32_t TraceCount = 0;

}  // namespace

void DebugTrace(std::string_view msg) { platform::WriteNumbered(TraceCount, msg, platform::WriteDiagnostic); }

}  // namespace corvane
