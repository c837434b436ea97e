#pragma once
// Diagnostic channel and alert sound: the two platform facilities the screen
// model needs. The platform adapter supplies the default destination; tests
// and tools install their own sinks.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace corvane::platform {

using DiagnosticSink = std::function<void(std::string_view piece)>;
using AlertSink = std::function<void()>;

// Writes one piece of a diagnostic message to the installed sink, or to the
// platform's debugger output when none is installed.
void WriteDiagnostic(std::string_view piece);

// Installs a sink for diagnostics; an empty function restores the platform's
// default. Returns the sink that was installed before.
DiagnosticSink SetDiagnosticSink(DiagnosticSink sink);

// Plays the alert sound (the asterisk sound on Windows).
void AlertSound();

// Installs a sink for the alert sound, as SetDiagnosticSink does.
AlertSink SetAlertSink(AlertSink sink);

// The piece as one 0-terminated text for a channel that ends at a 0 byte:
// each 0 byte is written as the four characters \x00.
std::string WithoutZeroBytes(std::string_view piece);

// Counts a message, then writes its number (at least four upper-case hex
// digits and a space) and the message to `sink`, as two pieces. Unsigned
// counters wrap instead of overflowing.
void WriteNumbered(std::uint32_t& counter, std::string_view message, const DiagnosticSink& sink);

// Provided by each adapter: the platform's own destinations.
void PlatformDebugOutput(std::string_view piece);
void PlatformAlertSound();

}  // namespace corvane::platform
