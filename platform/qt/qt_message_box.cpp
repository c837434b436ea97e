#include "platform/qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace corvane::platform::qt {

void TQtMessageBox::ShowOk(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

}  // namespace corvane::platform::qt
