#pragma once
// A timer at the display's pace. While received text streams in, the
// terminal view paints once per tick of this clock instead of once per read.
#include <functional>

namespace corvane::platform {

// About one display frame: 60 ticks a second.
constexpr int kFrameMs = 16;

class TFrameClockPort {
 public:
  virtual ~TFrameClockPort() = default;

  // Calls `tick` about every kFrameMs until Stop; a running clock gets the
  // new tick. The tick is called from the message loop, never from Start.
  virtual void Start(std::function<void()> tick) = 0;
  virtual void Stop() = 0;
};

}  // namespace corvane::platform
