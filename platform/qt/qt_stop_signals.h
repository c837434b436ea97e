#pragma once
// SIGTERM, SIGINT and SIGHUP as a request to end the program the ordinary
// way: the handler only writes a byte to a pipe, and the event loop calls
// the action, so that the program closes down as from its own menu.
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace corvane::platform::qt {

class TQtStopSignals final : public QObject {
 public:
  explicit TQtStopSignals(std::function<void()> onStop);
  ~TQtStopSignals() override;

 private:
  void Stop();

  std::function<void()> onStop_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace corvane::platform::qt
