#include <QCoreApplication>
#include <QEvent>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "bench/gui/window_probe.h"
#include "gui/qt/program.h"
#include "gui/qt/qt_terminal_widget.h"
#include "telnet/tnzuzeri.h"
#include "tools/replay/screen_dump.h"

namespace corvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

class TStreamWatch final : public QObject {
 public:
  explicit TStreamWatch(const char* dumpFile) : dumpFile_(dumpFile) {}

  // Hooked at the widget's first event, before the session can end: a host
  // that closes at once may do so before the first paint.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (terminal_ == nullptr) Hook(watched);
    if (event->type() != QEvent::Paint) return false;
    if (bytes_ > 0 && !closed_) ++paints_;
    return false;
  }

 private:
  // The filter is installed once the main window has set its handlers; the
  // watch runs after them.
  void Hook(QObject* watched) {
    auto* widget = dynamic_cast<gui::qt::TQtTerminalWidget*>(watched);
    terminal_ = widget != nullptr ? dynamic_cast<TTnZuzeRI*>(widget->View()) : nullptr;
    if (terminal_ == nullptr) return;
    terminal_->OnDataAvailable = [this](TTnZuzeRI&, const char*, int& len) {
      if (bytes_ == 0) first_ = Clock::now();
      bytes_ += len;
    };
    auto closed = terminal_->OnSessionClosed;
    terminal_->OnSessionClosed = [this, closed](TTnZuzeRI& sender) {
      if (closed) closed(sender);
      Finish();
    };
  }

  void Finish() {
    closed_ = true;
    const double seconds = bytes_ > 0 ? std::chrono::duration<double>(Clock::now() - first_).count() : 0.0;
    const TXtermScreen* xterm = terminal_->Xterm();
    if (xterm != nullptr) std::ofstream(dumpFile_, std::ios::binary) << DumpScreen(*xterm, {});
    std::printf("bytes %lld seconds %.3f paints %lld paints/s %.1f rows %d cols %d\n", bytes_, seconds, paints_,
                seconds > 0 ? static_cast<double>(paints_) / seconds : 0.0, terminal_->Rows(), terminal_->Cols());
    std::fflush(stdout);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
  }

  const char* dumpFile_;
  TTnZuzeRI* terminal_ = nullptr;
  long long bytes_ = 0;
  long long paints_ = 0;
  bool closed_ = false;
  Clock::time_point first_;
};

}  // namespace

int RunWindowProbe(char* programName, const char* host, const char* port, const char* dumpFile) {
  TCommandLine commandLine;
  commandLine.Host = host;
  commandLine.Port = port;
  commandLine.Emulation = TEmulation::Xterm;
  TStreamWatch watch(dumpFile);
  return gui::qt::RunMainWindow(programName, commandLine, &watch);
}

}  // namespace corvane::bench
