// Caps Lock from the X keyboard extension, when the tests run on an X server.
#include <gtest/gtest.h>

#include <QtGui/qguiapplication_platform.h>

#include "platform/qt/qt_keyboard.h"
#include "qt_test_app.h"

// X11's headers define KeyPress and the like: they come last.
#include <X11/XKBlib.h>

namespace corvane::platform::qt {
namespace {

void LockCaps(Display* display, bool on) {
  XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  XSync(display, False);
}

TEST(X11KeyboardTest, CapsLockIsWhatTheXServerKeeps) {
  test::TestApp();
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->display() == nullptr) GTEST_SKIP() << "needs an X server";
  TQtKeyboard keyboard;
  LockCaps(x11->display(), true);
  EXPECT_TRUE(keyboard.CapsLockOn());
  keyboard.BeginKey(Qt::Key_A, Qt::NoModifier, "a");  // the server outranks the text
  EXPECT_TRUE(keyboard.CapsLockOn());
  keyboard.EndKey();
  LockCaps(x11->display(), false);
  EXPECT_FALSE(keyboard.CapsLockOn());
}

}  // namespace
}  // namespace corvane::platform::qt
