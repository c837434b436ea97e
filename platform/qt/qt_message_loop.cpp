#include "platform/qt/qt_message_loop.h"

#include <poll.h>

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include "platform/posix/reactor.h"

namespace corvane::platform::qt {
namespace {

const QEvent::Type kDispatchEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

posix::Reactor& ThisReactor() { return posix::Reactor::ForThisThread(); }

}  // namespace

TQtMessageLoop::TQtMessageLoop() {
  ThisReactor().SetWakeHandler([this] { ScheduleDispatch(); });
  ThisReactor().SetWatchHandler([this] { Resync(); });
  Resync();
  if (ThisReactor().HasPosted()) ScheduleDispatch();
}

TQtMessageLoop::~TQtMessageLoop() {
  ThisReactor().SetWakeHandler(nullptr);
  ThisReactor().SetWatchHandler(nullptr);
  for (auto& [fd, watch] : watches_) Drop(watch);
}

bool TQtMessageLoop::event(QEvent* event) {
  if (event->type() != kDispatchEvent) return QObject::event(event);
  dispatchPosted_ = false;
  ThisReactor().DispatchPosted();
  // Messages posted while dispatching wait for the next pass.
  if (ThisReactor().HasPosted()) ScheduleDispatch();
  return true;
}

void TQtMessageLoop::ScheduleDispatch() {
  if (dispatchPosted_) return;
  dispatchPosted_ = true;
  QCoreApplication::postEvent(this, new QEvent(kDispatchEvent));
}

// A notifier is dropped while its descriptor is still open: the reactor
// reports a closing socket before the descriptor is released.
void TQtMessageLoop::Resync() {
  std::unordered_map<int, short> wanted;
  for (const posix::PollWant& w : ThisReactor().Wanted()) wanted[w.fd] = w.events;
  for (auto it = watches_.begin(); it != watches_.end();) {
    if (wanted.count(it->first) == 0) {
      Drop(it->second);
      it = watches_.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& [fd, events] : wanted) {
    TWatch& watch = WatchFor(fd);
    watch.Events = events;
    // Qt cannot wait for a hang-up alone: while a read notification is
    // outstanding the peer's close is seen once the data has been read.
    watch.Read->setEnabled((events & POLLIN) != 0);
    watch.Write->setEnabled((events & POLLOUT) != 0);
  }
}

TQtMessageLoop::TWatch& TQtMessageLoop::WatchFor(int fd) {
  TWatch& watch = watches_[fd];
  if (watch.Read != nullptr) return watch;
  watch.Read = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  watch.Write = new QSocketNotifier(fd, QSocketNotifier::Write, this);
  watch.Read->setEnabled(false);
  watch.Write->setEnabled(false);
  connect(watch.Read, &QSocketNotifier::activated, this, [this, fd] { Ready(fd); });
  connect(watch.Write, &QSocketNotifier::activated, this, [this, fd] { Ready(fd); });
  return watch;
}

// A notifier may be dropped from its own activation: it is disabled now and
// deleted once control is back in the event loop.
void TQtMessageLoop::Drop(TWatch& watch) {
  for (QSocketNotifier* notifier : {watch.Read, watch.Write}) {
    if (notifier == nullptr) continue;
    notifier->setEnabled(false);
    notifier->deleteLater();
  }
}

// The notifier says only "something"; poll tells the reactor exactly what.
void TQtMessageLoop::Ready(int fd) {
  const auto found = watches_.find(fd);
  if (found == watches_.end()) return;
  pollfd p{fd, found->second.Events, 0};
  if (::poll(&p, 1, 0) > 0) ThisReactor().DispatchReady(fd, p.revents);
}

}  // namespace corvane::platform::qt
