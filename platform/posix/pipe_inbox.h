#pragma once
// The POSIX loop's inbox: letters from other threads wait under a lock, and
// one byte in a pipe wakes the loop's poll for them.
#include <mutex>
#include <vector>

#include "platform/message_loop.h"

namespace corvane::platform::posix {

class PipeInbox final : public LoopInbox {
 public:
  struct Letter {
    WindowId window;
    std::uint32_t message;
    MessageWord word;
    MessageLong lparam;
  };

  // Raises std::system_error when no pipe can be made.
  PipeInbox();
  ~PipeInbox() override;
  PipeInbox(const PipeInbox&) = delete;
  PipeInbox& operator=(const PipeInbox&) = delete;

  // The descriptor the loop polls for reading.
  int Fd() const { return fds_[0]; }
  bool Post(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam) override;
  // On the loop's thread: the letters so far, the wake-up bytes drained.
  std::vector<Letter> Take();
  // The loop's thread has ended: later letters are refused.
  void Shut();

 private:
  std::mutex mutex_;
  std::vector<Letter> letters_;
  bool open_ = true;
  int fds_[2] = {-1, -1};
};

}  // namespace corvane::platform::posix
