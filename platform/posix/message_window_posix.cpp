#include "platform/posix/reactor.h"

namespace corvane::platform {

struct MessageWindow::Impl {
  MessageHandler handler;
  WindowId id = 0;
};

MessageWindow::MessageWindow(MessageHandler handler) : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  impl_->id = posix::Reactor::ForThisThread().AddTarget(&impl_->handler);
}

MessageWindow::~MessageWindow() { posix::Reactor::ForThisThread().RemoveTarget(impl_->id); }

WindowId MessageWindow::Id() const { return impl_->id; }

void MessageWindow::Post(std::uint32_t message, MessageWord word, MessageLong lparam) {
  posix::Reactor::ForThisThread().Post(impl_->id, message, word, lparam);
}

void MessageWindow::Purge(std::uint32_t message, MessageWord word) {
  posix::Reactor::ForThisThread().Purge(impl_->id, message, word);
}

bool PostToWindow(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam) {
  return posix::Reactor::ForThisThread().Post(window, message, word, lparam);
}

std::shared_ptr<LoopInbox> ThisThreadInbox() { return posix::Reactor::ForThisThread().Inbox(); }

void ProcessMessages() { posix::Reactor::ForThisThread().Step(0); }

bool WaitAndProcessMessages(int timeout_ms) { return posix::Reactor::ForThisThread().Step(timeout_ms); }

}  // namespace corvane::platform
