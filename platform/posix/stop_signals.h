#pragma once
// SIGINT and SIGTERM as a stop request that a poll loop checks between waits.

namespace corvane::platform {

// Installs the handlers; a pending poll returns early when a signal arrives.
void InstallStopSignals();
bool StopRequested();

}  // namespace corvane::platform
