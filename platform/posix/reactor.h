#pragma once
// The POSIX message loop: a queue of posted messages for notification
// targets, and the readiness emulation of the sockets library on poll(2).
// One reactor per thread. It runs on its own (Step) or under another event
// loop, which asks for Wanted() descriptors, reports them to DispatchReady()
// and calls DispatchPosted() when HasPosted() (the wake handler says when).
// The watch handler says when Wanted() may have changed; it runs before a
// closed descriptor is released, so the outside loop can drop it in time.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/message_loop.h"
#include "platform/posix/pipe_inbox.h"

namespace corvane::platform::posix {

struct PollWant {
  int fd;
  short events;
};

class Reactor {
 public:
  static Reactor& ForThisThread();
  Reactor() = default;
  ~Reactor();
  Reactor(const Reactor&) = delete;
  Reactor& operator=(const Reactor&) = delete;

  WindowId AddTarget(const MessageHandler* handler);
  void RemoveTarget(WindowId window);
  bool Post(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam);
  void Purge(WindowId window, std::uint32_t message, MessageWord word);
  // Made on first use; from then on its descriptor is among Wanted().
  std::shared_ptr<LoopInbox> Inbox();

  // Readiness emulation, told by the sockets adapter what happened.
  void Watch(int fd, WindowId window, std::uint32_t message, std::uint32_t mask);
  void Unwatch(int fd);
  bool Watched(int fd) const { return watches_.count(fd) != 0; }
  // A connection attempt started; `outcome` >= 0 when it is already decided
  // (0 or an error number), -1 while it is under way.
  void ConnectStarted(int fd, int outcome);
  // A receive was made; `error` is its error number, 0 if none.
  void ReadCalled(int fd, int error);
  void SendBlocked(int fd);

  std::vector<PollWant> Wanted() const;
  bool HasPosted() const { return !queue_.empty(); }
  void DispatchReady(int fd, short revents);
  void DispatchPosted();
  // Called when a message is queued while the queue was empty.
  void SetWakeHandler(std::function<void()> wake) { wake_ = std::move(wake); }
  void SetWatchHandler(std::function<void()> changed) { watch_changed_ = std::move(changed); }

  // One pass of the own loop: waits up to timeout_ms (not at all when
  // messages are queued), then dispatches. Returns whether anything happened.
  bool Step(int timeout_ms);

 private:
  struct Message {
    std::uint64_t sequence;
    WindowId window;
    std::uint32_t message;
    MessageWord word;
    MessageLong lparam;
  };
  struct SocketWatch {
    WindowId window;
    std::uint32_t message;
    std::uint32_t mask;
    bool connecting = false;
    bool read_armed = true;
    bool write_armed = false;
    bool close_posted = false;
    int last_read_error = 0;
  };

  void Notify(int fd, const SocketWatch& watch, std::uint32_t event, int error);
  void FinishConnect(int fd, SocketWatch& watch, int error);
  void CheckRead(int fd, SocketWatch& watch, short revents);
  void WatchesChanged() const;

  std::unordered_map<WindowId, const MessageHandler*> targets_;
  std::unordered_map<int, SocketWatch> watches_;
  std::deque<Message> queue_;
  std::uint64_t next_sequence_ = 0;
  WindowId next_window_ = 1;
  std::function<void()> wake_;
  std::function<void()> watch_changed_;
  std::shared_ptr<PipeInbox> inbox_;
};

}  // namespace corvane::platform::posix
