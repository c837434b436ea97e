// Updates at the display's pace: a write after a quiet frame updates at once
// (a typed key's echo shows without delay) and starts the frame clock; later
// writes within the frame only mark the update due, and each tick makes one
// update of everything that changed since the last. A tick with nothing due
// stops the clock.
#include "emulator/terminal_view.h"

namespace corvane {

void TCustomZuzeRI::RequestUpdate() {
  if (Streaming()) {
    FUpdateDue = true;
    return;
  }
  UpdateScreen();
  if (FFrameClock == nullptr) return;
  FFrameClock->Start([this] { FrameTick(); });
  FClockRunning = true;
}

void TCustomZuzeRI::FrameTick() {
  if (FUpdateDue)
    UpdateScreen();
  else
    StopFrameClock();
}

void TCustomZuzeRI::StopFrameClock() {
  if (!Streaming()) return;
  FFrameClock->Stop();
  FClockRunning = false;
}

}  // namespace corvane
