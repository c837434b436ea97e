// The handler of the notification message: connect, read, write and close
// bits, in that order. Every event handler may close, reconnect or destroy
// the socket; the code that raised the event then leaves the rest alone.
#include "net/wsocket.h"

namespace corvane {

void TWSocket::HandleMessage(std::uint32_t message, platform::MessageWord word, platform::MessageLong lparam) {
  if (message == kLookupMessage) {
    HandleLookup(word);
    return;
  }
  if (message != kNotifyMessage) return;
  if (handle_ == platform::kInvalidSocket || static_cast<platform::MessageWord>(handle_) != word) return;
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  // A failed connect may have moved the session on to another address.
  const platform::SocketHandle handle = handle_;
  const auto current = [&] { return alive && SameSession(session) && handle_ == handle; };
  const auto events = static_cast<std::uint32_t>(lparam & 0xffff);
  const auto error = static_cast<std::uint16_t>((lparam >> 16) & 0xffff);
  // An exception from a data handler waits until the other bits are handled,
  // then goes to the message loop's report.
  std::exception_ptr failure;
  if ((events & platform::kFdConnect) != 0) HandleConnect(error);
  if ((events & platform::kFdRead) != 0 && current()) (void)ReadLoop(error, failure);
  if ((events & platform::kFdWrite) != 0 && current()) HandleWrite(error);
  if ((events & platform::kFdClose) != 0 && current()) HandleClose(error, failure);
  if (failure) std::rethrow_exception(failure);
}

void TWSocket::HandleConnect(std::uint16_t error) {
  if (error != 0 && !untried_.empty()) {
    DropHandle();
    TryNextAddress(session_);
    return;
  }
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  if (!ChangeState(TSocketState::Connected) || session_ != session) return;
  RaiseEvent(OnSessionConnected, *this, error);
  // A handler that retried owns the new attempt.
  if (!alive || session_ != session) return;
  if (error != 0 && state_ != TSocketState::Closed) Close();
}

std::uint32_t TWSocket::Pending(bool& ok) {
  std::uint32_t count = 0;
  ok = sockets_.PendingBytes(handle_, count) == 0;
  if (!ok) last_error_ = sockets_.LastError();
  return ok ? count : 0;
}

// Raises OnDataAvailable at least once and again while bytes are pending.
// Ends when a Receive failed, the handler did not read at all (it would
// otherwise be called forever), the session ended, or an exception escaped
// the handler (kept in `failure`). Returns true when it stopped with bytes
// still pending because this notification has read its budget: the socket
// notifies again for them.
bool TWSocket::ReadLoop(std::uint16_t error, std::exception_ptr& failure) {
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  const std::uint64_t start = received_bytes_;
  for (;;) {
    last_error_ = 0;
    if (!OnDataAvailable) return false;
    const std::uint64_t calls_before = receive_calls_;
    try {
      RaiseEvent(OnDataAvailable, *this, error);
    } catch (...) {
      if (!failure) failure = std::current_exception();
      return false;
    }
    if (!alive || !SameSession(session)) return false;
    if (last_error_ != 0 || receive_calls_ == calls_before) return false;
    bool ok = false;
    if (Pending(ok) == 0) return false;
    if (received_bytes_ - start >= kReadBudget) return true;
  }
}

void TWSocket::HandleWrite(std::uint16_t error) {
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  TryToSend();
  if (alive && SameSession(session) && all_sent_) RaiseEvent(OnDataSent, *this, error);
}

void TWSocket::HandleClose(std::uint16_t error, std::exception_ptr& failure) {
  if (state_ == TSocketState::Connecting) return;
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  bool ok = false;
  // Everything still pending is delivered before the session ends, a budget
  // at a time: the close waits behind the rest.
  if (Pending(ok) > 0 && ReadLoop(error, failure)) {
    window_->Post(kNotifyMessage, static_cast<platform::MessageWord>(handle_),
                  static_cast<platform::MessageLong>(platform::kFdClose | (std::uint32_t{error} << 16)));
    return;
  }
  if (!alive || !SameSession(session)) return;
  if (OnSessionClosed && close_reported_for_ != session) {
    close_reported_for_ = session;
    RaiseEvent(OnSessionClosed, *this, error);
    if (!alive || !SameSession(session)) return;
  }
  if (state_ != TSocketState::Closed) Close();
}

}  // namespace corvane
