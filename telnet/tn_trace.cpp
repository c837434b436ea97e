#include "telnet/tn_trace.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "platform/diagnostics.h"
#include "telnet/telnet_codes.h"

namespace corvane {
namespace {

// Unsigned so that a very long run wraps instead of overflowing.
std::uint32_t TraceCount = 0;

// Traced for the bytes 244..248 (IP, AO, AYT, EC, EL) when they arrive as data.
constexpr std::array<std::string_view, 5> kDataByteTraces = {
    "TNCH_IP\r\n", "TNCH_AO\r\n", "TNCH_AYT\r\n", "TNCH_EC\r\n", "TNCH_EL\r\n"};

}  // namespace

void DebugTrace(std::string_view msg) {
  ++TraceCount;
  char number[16];
  std::snprintf(number, sizeof number, "%04X ", static_cast<unsigned>(TraceCount));
  platform::WriteDiagnostic(number);
  platform::WriteDiagnostic(msg);
}

std::string_view DataByteTrace(std::uint8_t ch) {
  if (ch < TNCH_IP || ch > TNCH_EL) return {};
  return kDataByteTraces[ch - TNCH_IP];
}

std::string UnknownCommandTrace(std::uint8_t ch) {
  char hex[4];
  std::snprintf(hex, sizeof hex, "%02X", ch);
  return std::string("Unknown ") + hex + " '" + static_cast<char>(ch) + "'\r\n";
}

}  // namespace corvane
