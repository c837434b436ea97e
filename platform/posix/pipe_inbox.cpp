#include "platform/posix/pipe_inbox.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace corvane::platform::posix {

PipeInbox::PipeInbox() {
  if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
}

PipeInbox::~PipeInbox() {
  ::close(fds_[0]);
  ::close(fds_[1]);
}

// One byte stands for all letters until the loop takes them.
bool PipeInbox::Post(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!open_) return false;
  if (letters_.empty()) {
    const char wake = 1;
    (void)!::write(fds_[1], &wake, 1);  // a full pipe already wakes the loop
  }
  letters_.push_back(Letter{window, message, word, lparam});
  return true;
}

std::vector<PipeInbox::Letter> PipeInbox::Take() {
  const std::lock_guard<std::mutex> lock(mutex_);
  char drain[64];
  while (::read(fds_[0], drain, sizeof drain) > 0) {
  }
  std::vector<Letter> taken;
  taken.swap(letters_);
  return taken;
}

void PipeInbox::Shut() {
  const std::lock_guard<std::mutex> lock(mutex_);
  open_ = false;
  letters_.clear();
}

}  // namespace corvane::platform::posix
