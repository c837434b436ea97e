#include "platform/diagnostics.h"

#include <cstdio>
#include <utility>

namespace corvane::platform {
namespace {
DiagnosticSink& InstalledDiagnosticSink() {
  static DiagnosticSink sink;
  return sink;
}
AlertSink& InstalledAlertSink() {
  static AlertSink sink;
  return sink;
}
}  // namespace

void WriteDiagnostic(std::string_view piece) {
  if (auto& sink = InstalledDiagnosticSink())
    sink(piece);
  else
    PlatformDebugOutput(piece);
}

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) {
  return std::exchange(InstalledDiagnosticSink(), std::move(sink));
}

void AlertSound() {
  if (auto& sink = InstalledAlertSink())
    sink();
  else
    PlatformAlertSound();
}

void WriteNumbered(std::uint32_t& counter, std::string_view message, const DiagnosticSink& sink) {
  ++counter;
  char number[16];
  const int length = std::snprintf(number, sizeof number, "%04X ", static_cast<unsigned>(counter));
  sink(std::string_view(number, static_cast<std::size_t>(length)));
  sink(message);
}

AlertSink SetAlertSink(AlertSink sink) { return std::exchange(InstalledAlertSink(), std::move(sink)); }

std::string WithoutZeroBytes(std::string_view piece) {
  std::string text;
  text.reserve(piece.size());
  for (const char ch : piece) {
    if (ch == '\0')
      text += "\\x00";
    else
      text += ch;
  }
  return text;
}

}  // namespace corvane::platform
