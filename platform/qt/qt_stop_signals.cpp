#include "platform/qt/qt_stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace corvane::platform::qt {
namespace {

constexpr std::array kStopSignals{SIGTERM, SIGINT, SIGHUP};

// The two ends of the self-pipe; one set of signal handlers per process.
int pipeEnds[2] = {-1, -1};

void OnStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

void SetHandlers(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kStopSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

TQtStopSignals::TQtStopSignals(std::function<void()> onStop) : onStop_(std::move(onStop)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Stop(); });
  SetHandlers(OnStopSignal);
}

TQtStopSignals::~TQtStopSignals() {
  if (!notifier_) return;
  SetHandlers(SIG_DFL);
  notifier_.reset();
  for (int& end : pipeEnds) {
    ::close(end);
    end = -1;
  }
}

// Every pending byte is taken; repeated signals end the program once.
void TQtStopSignals::Stop() {
  char bytes[16];
  while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
  }
  if (onStop_) onStop_();
}

}  // namespace corvane::platform::qt
