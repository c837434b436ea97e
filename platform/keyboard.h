#pragma once
// The keyboard state as the window system keeps it for the current message.

namespace corvane::platform {

class TKeyboardPort {
 public:
  virtual ~TKeyboardPort() = default;
  virtual bool ShiftDown() = 0;
  virtual bool CtrlDown() = 0;
  virtual bool CapsLockOn() = 0;
};

}  // namespace corvane::platform
