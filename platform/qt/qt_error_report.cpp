#include "platform/qt/qt_error_report.h"

#include <QApplication>
#include <QMessageBox>

namespace corvane::platform::qt {

void ShowErrorReport(const std::string& text) {
  const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QMetaObject::invokeMethod(
      qApp,
      [message] {
        QMessageBox::critical(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(), message);
      },
      Qt::QueuedConnection);
}

}  // namespace corvane::platform::qt
