#pragma once
// The frame clock port on a precise QTimer of the event loop.
#include <QTimer>
#include <functional>

#include "platform/frame_clock.h"

namespace corvane::platform::qt {

class TQtFrameClock final : public TFrameClockPort {
 public:
  TQtFrameClock();
  void Start(std::function<void()> tick) override;
  void Stop() override { timer_.stop(); }

 private:
  QTimer timer_;
  std::function<void()> tick_;
};

}  // namespace corvane::platform::qt
