#include "platform/posix/reactor.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>
#include <utility>

#include "platform/posix/socket_error_map.h"
#include "platform/sockets.h"

namespace corvane::platform::posix {
namespace {

int PendingCount(int fd) {
  int count = 0;
  return ioctl(fd, FIONREAD, &count) == 0 ? count : 0;
}

// The socket's pending error, mapped; reading it clears it.
int TakeSocketError(int fd) {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  return SocketErrorFromErrno(error);
}

MessageLong MakeLong(std::uint32_t event, int error) {
  return static_cast<MessageLong>((event & 0xffffu) | ((static_cast<std::uint32_t>(error) & 0xffffu) << 16));
}

}  // namespace

Reactor& Reactor::ForThisThread() {
  thread_local Reactor reactor;
  return reactor;
}

Reactor::~Reactor() {
  if (inbox_) inbox_->Shut();
}

std::shared_ptr<LoopInbox> Reactor::Inbox() {
  if (!inbox_) {
    inbox_ = std::make_shared<PipeInbox>();
    WatchesChanged();
  }
  return inbox_;
}

WindowId Reactor::AddTarget(const MessageHandler* handler) {
  const WindowId id = next_window_++;
  targets_[id] = handler;
  return id;
}

void Reactor::RemoveTarget(WindowId window) {
  targets_.erase(window);
  std::erase_if(queue_, [window](const Message& m) { return m.window == window; });
  if (std::erase_if(watches_, [window](const auto& entry) { return entry.second.window == window; }) != 0)
    WatchesChanged();
}

bool Reactor::Post(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam) {
  if (targets_.count(window) == 0) return false;
  const bool was_empty = queue_.empty();
  queue_.push_back(Message{next_sequence_++, window, message, word, lparam});
  if (was_empty && wake_) wake_();
  return true;
}

void Reactor::Purge(WindowId window, std::uint32_t message, MessageWord word) {
  std::erase_if(queue_, [&](const Message& m) { return m.window == window && m.message == message && m.word == word; });
}

void Reactor::Watch(int fd, WindowId window, std::uint32_t message, std::uint32_t mask) {
  watches_[fd] = SocketWatch{window, message, mask};
  WatchesChanged();
}

void Reactor::Unwatch(int fd) {
  const auto found = watches_.find(fd);
  if (found == watches_.end()) return;
  Purge(found->second.window, found->second.message, static_cast<MessageWord>(fd));
  watches_.erase(found);
  WatchesChanged();
}

void Reactor::Notify(int fd, const SocketWatch& watch, std::uint32_t event, int error) {
  if ((watch.mask & event) != 0)
    Post(watch.window, watch.message, static_cast<MessageWord>(fd), MakeLong(event, error));
}

void Reactor::ConnectStarted(int fd, int outcome) {
  const auto found = watches_.find(fd);
  if (found == watches_.end()) return;
  found->second.connecting = true;
  if (outcome >= 0) FinishConnect(fd, found->second, outcome);
  WatchesChanged();
}

void Reactor::FinishConnect(int fd, SocketWatch& watch, int error) {
  watch.connecting = false;
  Notify(fd, watch, kFdConnect, error);
  // A connection that is up can take data at once.
  if (error == 0) Notify(fd, watch, kFdWrite, 0);
}

void Reactor::ReadCalled(int fd, int error) {
  const auto found = watches_.find(fd);
  if (found == watches_.end()) return;
  found->second.read_armed = true;
  if (error != 0 && error != kWsaEWouldBlock) found->second.last_read_error = error;
  WatchesChanged();
}

void Reactor::SendBlocked(int fd) {
  const auto found = watches_.find(fd);
  if (found == watches_.end()) return;
  found->second.write_armed = true;
  WatchesChanged();
}

std::vector<PollWant> Reactor::Wanted() const {
  std::vector<PollWant> wanted;
  if (inbox_) wanted.push_back(PollWant{inbox_->Fd(), POLLIN});
  for (const auto& [fd, watch] : watches_) {
    short events = 0;
    if (watch.connecting) {
      events = POLLOUT;
    } else {
      if (!watch.close_posted) {
        // While a read notification is outstanding only the peer's close
        // matters; waiting for data then would spin on the unread bytes.
        events |= watch.read_armed ? POLLIN | POLLRDHUP : POLLRDHUP;
      } else if (watch.read_armed && PendingCount(fd) > 0) {
        events |= POLLIN;
      }
      if (watch.write_armed) events |= POLLOUT;
    }
    if (events != 0) wanted.push_back(PollWant{fd, events});
  }
  return wanted;
}

void Reactor::DispatchReady(int fd, short revents) {
  if (inbox_ && fd == inbox_->Fd()) {
    if (revents == 0) return;
    for (const PipeInbox::Letter& l : inbox_->Take()) Post(l.window, l.message, l.word, l.lparam);
    return;
  }
  const auto found = watches_.find(fd);
  if (found == watches_.end() || revents == 0) return;
  SocketWatch& watch = found->second;
  if (watch.connecting) {
    if ((revents & (POLLOUT | POLLERR | POLLHUP)) != 0) FinishConnect(fd, watch, TakeSocketError(fd));
  } else {
    if (watch.write_armed && (revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      watch.write_armed = false;
      Notify(fd, watch, kFdWrite, 0);
    }
    CheckRead(fd, watch, revents);
  }
  WatchesChanged();
}

void Reactor::WatchesChanged() const {
  if (watch_changed_) watch_changed_();
}

void Reactor::CheckRead(int fd, SocketWatch& watch, short revents) {
  if ((revents & (POLLIN | POLLRDHUP | POLLERR | POLLHUP)) == 0) return;
  const int pending = PendingCount(fd);
  if (watch.read_armed && pending > 0) {
    watch.read_armed = false;
    Notify(fd, watch, kFdRead, 0);
  }
  const bool ended = (revents & (POLLRDHUP | POLLERR | POLLHUP)) != 0 || ((revents & POLLIN) != 0 && pending == 0);
  if (ended && !watch.close_posted) {
    watch.close_posted = true;
    int error = TakeSocketError(fd);
    if (error == 0) error = watch.last_read_error;
    Notify(fd, watch, kFdClose, error);
  }
}

void Reactor::DispatchPosted() {
  const std::uint64_t limit = next_sequence_;
  while (!queue_.empty() && queue_.front().sequence < limit) {
    const Message m = queue_.front();
    queue_.pop_front();
    const auto target = targets_.find(m.window);
    if (target == targets_.end()) continue;
    // A copy: the handler may destroy its own target.
    const MessageHandler handler = *target->second;
    InvokeHandler(handler, m.message, m.word, m.lparam);
  }
}

bool Reactor::Step(int timeout_ms) {
  const std::vector<PollWant> wanted = Wanted();
  std::vector<pollfd> fds;
  fds.reserve(wanted.size());
  for (const auto& w : wanted) fds.push_back(pollfd{w.fd, w.events, 0});
  const int ready = poll(fds.data(), fds.size(), HasPosted() ? 0 : timeout_ms);
  if (ready > 0) {
    for (const auto& p : fds) DispatchReady(p.fd, p.revents);
  }
  const bool any = ready > 0 || HasPosted();
  DispatchPosted();
  return any;
}

}  // namespace corvane::platform::posix
