#include "platform/posix/stop_signals.h"

#include <signal.h>

namespace corvane::platform {
namespace {
volatile sig_atomic_t stop_requested = 0;
void OnStopSignal(int) { stop_requested = 1; }
}  // namespace

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: poll returns with EINTR
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

bool StopRequested() { return stop_requested != 0; }

}  // namespace corvane::platform
