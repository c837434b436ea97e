#pragma once
// The keyboard state for the key message being handled: Shift and Ctrl from
// the key event, Caps Lock from the X keyboard extension. Elsewhere Caps Lock
// is read off the letters typed: a letter whose case differs from what Shift
// alone would give was typed with Caps Lock on.
#include <QString>
#include <Qt>
#include <optional>

#include "platform/keyboard.h"

namespace corvane::platform::qt {

class TQtKeyboard final : public TKeyboardPort {
 public:
  // The key event offered to the message hook now; cleared afterwards.
  void BeginKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);
  void EndKey() {
    current_.reset();
    key_ = 0;
  }

  bool ShiftDown() override { return Modifiers() & Qt::ShiftModifier; }
  bool CtrlDown() override { return Modifiers() & Qt::ControlModifier; }
  bool CapsLockOn() override;
  bool DeadKey(int virtualKey) override;

 private:
  Qt::KeyboardModifiers Modifiers() const;

  std::optional<Qt::KeyboardModifiers> current_;
  int key_ = 0;
  bool capsSeen_ = false;
};

}  // namespace corvane::platform::qt
