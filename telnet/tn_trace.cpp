#include "telnet/tn_trace.h"

#include <cstdint>
#include <cstdio>

#include "platform/diagnostics.h"

namespace corvane {
namespace {

// Unsigned so that a very long run wraps instead of overflowing.
std::uint32_t TraceCount = 0;

}  // namespace

void DebugTrace(std::string_view msg) {
  ++TraceCount;
  char number[16];
  std::snprintf(number, sizeof number, "%04X ", static_cast<unsigned>(TraceCount));
  platform::WriteDiagnostic(number);
  platform::WriteDiagnostic(msg);
}

}  // namespace corvane
