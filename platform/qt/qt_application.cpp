#include "platform/qt/qt_application.h"

#include "platform/diagnostics.h"
#include "platform/message_loop.h"
#include "platform/qt/qt_error_report.h"
#include "platform/qt/qt_message_loop.h"

namespace corvane::platform::qt {

TQtApplication::TQtApplication(int& argc, char** argv)
    : QApplication(argc, argv), loop_(std::make_unique<TQtMessageLoop>()) {
  SetHandlerExceptionSink(ShowErrorReport);
  SetAlertSink([] { QApplication::beep(); });
}

TQtApplication::~TQtApplication() {
  SetHandlerExceptionSink(nullptr);
  SetAlertSink(nullptr);
}

// The adapters catch what the core throws; this is the net under any
// handler that does not.
bool TQtApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  ReportErrors([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace corvane::platform::qt
