#include "bench/gui/startup_probe.h"

#include <time.h>

#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "gui/qt/program.h"

namespace corvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds since the process was started, at the kernel's tick resolution.
double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  for (int i = 3; i < 22; ++i) fields >> field;  // field 22 is the start time
  unsigned long long startTicks = 0;
  fields >> startTicks;
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
  return nowMs - static_cast<double>(startTicks) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

class TFirstPaint final : public QObject {
 public:
  explicit TFirstPaint(Clock::time_point mainEntered) : mainEntered_(mainEntered) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QMetaObject::invokeMethod(
          this, [this] { Report(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  void Report() {
    const double fromMain = std::chrono::duration<double, std::milli>(Clock::now() - mainEntered_).count();
    std::printf("first paint: %.0f ms after the process started, %.1f ms after main(); resident %ld kB\n",
                MsSinceProcessStart(), fromMain, ResidentKb());
    QCoreApplication::quit();
  }
  Clock::time_point mainEntered_;
  bool seen_ = false;
};

}  // namespace

int RunStartupProbe(char* programName) {
  const Clock::time_point entered = Clock::now();
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  TFirstPaint probe(entered);
  return gui::qt::RunMainWindow(programName, {}, &probe);
}

}  // namespace corvane::bench
