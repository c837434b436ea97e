#pragma once
// Hidden notification targets and the one thread's message loop. A target
// receives posted messages (number, word, long) only while the loop runs on
// the thread that created it; handlers never run in parallel with other code.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace corvane::platform {

// Identifies a notification target to the sockets library (a window handle
// on Windows, a registry key of the reactor elsewhere).
using WindowId = std::uintptr_t;

// The first message number free for application use.
inline constexpr std::uint32_t kUserMessage = 1024;

// The word and long parameters of a message, as wide as a pointer like the
// window system's own (a socket handle travels in the word).
using MessageWord = std::uintptr_t;
using MessageLong = std::intptr_t;

using MessageHandler = std::function<void(std::uint32_t message, MessageWord word, MessageLong lparam)>;

class MessageWindow {
 public:
  explicit MessageWindow(MessageHandler handler);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  WindowId Id() const;

  // Queues a message for this target; it is handled by a later loop pass.
  void Post(std::uint32_t message, MessageWord word, MessageLong lparam);

  // Drops queued messages with this number and word (late notifications
  // for a socket handle that has been closed).
  void Purge(std::uint32_t message, MessageWord word);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Queues a message for the target with this id; false when there is none.
bool PostToWindow(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam);

// The way back into one thread's loop from any other thread: a worker posts
// its result through it, and the loop's thread handles it like any posted
// message. Safe to keep beyond the loop: once the loop's thread has gone,
// posting does nothing and returns false.
class LoopInbox {
 public:
  virtual ~LoopInbox() = default;
  virtual bool Post(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam) = 0;
};

// The inbox of the calling thread's loop.
std::shared_ptr<LoopInbox> ThisThreadInbox();

// Handles every message that is already pending, without waiting.
void ProcessMessages();

// Waits up to timeout_ms for something to arrive, then handles all that is
// pending. Returns whether anything was handled.
bool WaitAndProcessMessages(int timeout_ms);

// An exception escaping a message handler must not unwind through the loop;
// it is passed to this sink (by default written as a diagnostic) and the
// loop goes on. Returns the sink installed before.
using HandlerExceptionSink = std::function<void(const std::string& message)>;
HandlerExceptionSink SetHandlerExceptionSink(HandlerExceptionSink sink);

// Used by the adapters: runs an action from the message loop, passing any
// exception to the sink. Returns false when the action raised.
bool RunGuarded(const std::function<void()>& action);

// Used by the adapters: runs a handler, passing any exception to the sink.
void InvokeHandler(const MessageHandler& handler, std::uint32_t message, MessageWord word, MessageLong lparam);

}  // namespace corvane::platform
