#pragma once
// Diagnostics and the alert sound go nowhere while fuzzing: hostile input
// yields a message for most bytes, and writing them would only slow the run.
#include "platform/diagnostics.h"

namespace corvane::fuzz {

inline void QuietPlatform() {
  static const bool installed = [] {
    platform::SetDiagnosticSink([](std::string_view) {});
    platform::SetAlertSink([] {});
    return true;
  }();
  (void)installed;
}

}  // namespace corvane::fuzz
