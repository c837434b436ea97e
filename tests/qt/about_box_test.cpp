#include "gui/qt/about_box.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "qt_test_app.h"

namespace corvane::gui::qt {
namespace {

// Shows the box modally and presses `key` once it is up; returns the result.
int ShowAndPress(TAboutBox& box, Qt::Key key) {
  QTimer::singleShot(50, &box, [&box, key] {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&box, &press);
  });
  return box.exec();
}

TEST(AboutBoxTest, ShowsTheSameIdentityEachTimeAndEnterOrEscapeCloseItWithOk) {
  test::TestApp();
  TAboutBox box;
  box.FormCreate();
  EXPECT_EQ(box.windowTitle(), "About");
  EXPECT_EQ(box.size(), QSize(298, 213));
  EXPECT_EQ(box.OKButton->geometry(), QRect(111, 180, 75, 25));
  EXPECT_TRUE(box.OKButton->isDefault());
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    EXPECT_EQ(ShowAndPress(box, key), QDialog::Accepted);
    EXPECT_EQ(box.ProductName->text(), "Corvane Telnet");
    EXPECT_EQ(box.Version->text(), "Version 0.2");
    EXPECT_EQ(box.Comments->text(), "Pre-release version");
    EXPECT_EQ(box.ProductName->pos(), QPoint(88, 16));
  }
}

}  // namespace
}  // namespace corvane::gui::qt
