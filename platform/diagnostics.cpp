#include "platform/diagnostics.h"

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

AlertSink SetAlertSink(AlertSink sink) {
  return std::exchange(InstalledAlertSink(), std::move(sink));
}

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
