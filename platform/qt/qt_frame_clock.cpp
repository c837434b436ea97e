#include "platform/qt/qt_frame_clock.h"

#include "platform/qt/qt_error_report.h"

namespace corvane::platform::qt {

TQtFrameClock::TQtFrameClock() {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(kFrameMs);
  // The tick may stop the clock; a copy keeps it alive while it runs.
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    const std::function<void()> tick = tick_;
    if (tick) ReportErrors(tick);
  });
}

void TQtFrameClock::Start(std::function<void()> tick) {
  tick_ = std::move(tick);
  if (!timer_.isActive()) timer_.start();
}

}  // namespace corvane::platform::qt
