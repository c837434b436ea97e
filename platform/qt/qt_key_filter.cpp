#include "platform/qt/qt_key_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/qt/qt_error_report.h"
#include "platform/qt/qt_key_message.h"

namespace corvane::platform::qt {

bool TQtKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget != QApplication::focusWidget()) return false;
  auto* key = static_cast<QKeyEvent*>(event);

  if (type == QEvent::KeyPress && SameKey(watched, *key)) {
    const bool claimed = offered_->Claimed;
    offered_.reset();
    return claimed;
  }
  const bool claimed = Offer(widget, *key);
  if (type == QEvent::ShortcutOverride) {
    offered_ = TOffered{watched, key->key(), key->modifiers(), key->nativeScanCode(), key->timestamp(), claimed};
    if (claimed) key->accept();
  }
  return claimed;
}

bool TQtKeyFilter::SameKey(const QObject* target, const QKeyEvent& key) const {
  return offered_ && offered_->Target == target && offered_->Key == key.key() &&
         offered_->Modifiers == key.modifiers() && offered_->NativeScanCode == key.nativeScanCode() &&
         offered_->Timestamp == key.timestamp();
}

bool TQtKeyFilter::Offer(QWidget* target, const QKeyEvent& key) {
  TMessage msg = KeyDownMessage(static_cast<const void*>(target), key.key(), key.modifiers(), key.nativeScanCode());
  keyboard_.BeginKey(key.key(), key.modifiers(), key.text());
  // A hook that throws drops its key, as the message loop does.
  bool claimed = true;
  ReportErrors([&] {
    claimed = OfferToAppMessageHook(msg);
    if (claimed || msg.Msg != kSysKeyDownMessage) return;
    if (std::optional<TMessage> character = SysCharMessage(msg, key.text()))
      claimed = OfferToAppMessageHook(*character);
  });
  keyboard_.EndKey();
  return claimed;
}

}  // namespace corvane::platform::qt
