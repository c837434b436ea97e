#pragma once
// The application object of the Qt front end: its event loop also runs the
// sockets' readiness and the posted messages, the alert sound is the
// desktop's beep, and an exception that escapes any handler is shown by the
// standard error report while the program goes on.
#include <QApplication>
#include <memory>

namespace corvane::platform::qt {

class TQtMessageLoop;

class TQtApplication final : public QApplication {
 public:
  TQtApplication(int& argc, char** argv);
  ~TQtApplication() override;

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  std::unique_ptr<TQtMessageLoop> loop_;
};

}  // namespace corvane::platform::qt
