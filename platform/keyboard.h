#pragma once
// The keyboard state as the window system keeps it for the current message.

namespace corvane::platform {

class TKeyboardPort {
 public:
  virtual ~TKeyboardPort() = default;
  virtual bool ShiftDown() = 0;
  virtual bool CtrlDown() = 0;
  virtual bool CapsLockOn() = 0;
  // Whether the keyboard layout makes this key of the current message a dead
  // key, one that puts an accent on the next letter instead of typing.
  virtual bool DeadKey(int virtualKey) = 0;
};

}  // namespace corvane::platform
