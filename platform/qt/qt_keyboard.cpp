#include "platform/qt/qt_keyboard.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>

// X11's headers define KeyPress, None and the like: they come last.
#if QT_CONFIG(xcb) && __has_include(<X11/XKBlib.h>)
#include <X11/XKBlib.h>
#define CV_HAVE_XKB 1
#endif

namespace corvane::platform::qt {
namespace {

// Caps Lock as the X server keeps it; nothing without an X display.
std::optional<bool> X11CapsLock() {
#ifdef CV_HAVE_XKB
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->display() == nullptr) return std::nullopt;
  XkbStateRec state{};
  if (XkbGetState(x11->display(), XkbUseCoreKbd, &state) != Success) return std::nullopt;
  return (state.locked_mods & LockMask) != 0;
#else
  return std::nullopt;
#endif
}

}  // namespace

void TQtKeyboard::BeginKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  current_ = modifiers;
  key_ = key;
  const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z && text.size() == 1 && text[0].isLetter();
  if (letter && !(modifiers & Qt::ControlModifier))
    capsSeen_ = text[0].isUpper() != static_cast<bool>(modifiers & Qt::ShiftModifier);
}

bool TQtKeyboard::CapsLockOn() { return X11CapsLock().value_or(capsSeen_); }

// Qt names a dead key by its accent; the virtual key is the one it was given.
bool TQtKeyboard::DeadKey(int) { return key_ >= Qt::Key_Dead_Grave && key_ <= Qt::Key_Dead_Longsolidusoverlay; }

Qt::KeyboardModifiers TQtKeyboard::Modifiers() const { return current_.value_or(QGuiApplication::keyboardModifiers()); }

}  // namespace corvane::platform::qt
