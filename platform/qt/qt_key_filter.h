#pragma once
// The application message hook's place in Qt: an application-wide event
// filter that turns each key press for the focused widget into a key-down
// message and offers it to the hook. A claimed key never reaches Qt: no
// shortcut, menu or focus move takes it, so Ctrl+C and Ctrl+V reach the host.
#include <QObject>
#include <QPointer>
#include <optional>

#include "platform/qt/qt_keyboard.h"

class QKeyEvent;

namespace corvane::platform::qt {

class TQtKeyFilter final : public QObject {
 public:
  explicit TQtKeyFilter(TQtKeyboard& keyboard) : keyboard_(keyboard) {}

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A key is offered once: at its shortcut check, which comes first, or else
  // at the key press itself.
  struct TOffered {
    QPointer<QObject> Target;
    int Key;
    Qt::KeyboardModifiers Modifiers;
    quint32 NativeScanCode;
    quint64 Timestamp;
    bool Claimed;
  };

  bool Offer(QWidget* target, const QKeyEvent& key);
  bool SameKey(const QObject* target, const QKeyEvent& key) const;

  TQtKeyboard& keyboard_;
  std::optional<TOffered> offered_;
};

}  // namespace corvane::platform::qt
