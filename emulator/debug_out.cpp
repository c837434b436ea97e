#include "emulator/debug_out.h"

#include <cstdio>

#include "platform/diagnostics.h"

namespace corvane {

std::uint32_t DebugCount = 0;

void DebugOut(std::string_view Msg) {
  ++DebugCount;
  char number[16];
  const int length = std::snprintf(number, sizeof number, "%04X ", static_cast<unsigned>(DebugCount));
  platform::WriteDiagnostic(std::string_view(number, static_cast<std::size_t>(length)));
  platform::WriteDiagnostic(Msg);
}

}  // namespace corvane
