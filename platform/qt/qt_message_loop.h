#pragma once
// Socket readiness and posted messages inside Qt's event loop: the reactor's
// wanted descriptors become socket notifiers and its queue is dispatched from
// a posted event. Still one thread, and nothing wakes up without a reason.
#include <QObject>
#include <unordered_map>

class QSocketNotifier;

namespace corvane::platform::qt {

class TQtMessageLoop final : public QObject {
 public:
  TQtMessageLoop();
  ~TQtMessageLoop() override;

 protected:
  bool event(QEvent* event) override;

 private:
  struct TWatch {
    QSocketNotifier* Read = nullptr;
    QSocketNotifier* Write = nullptr;
    short Events = 0;
  };

  void Resync();
  void Ready(int fd);
  void ScheduleDispatch();
  TWatch& WatchFor(int fd);
  static void Drop(TWatch& watch);

  std::unordered_map<int, TWatch> watches_;
  bool dispatchPosted_ = false;
};

}  // namespace corvane::platform::qt
