// The handler of the notification message: connect, read, write and close
// bits, in that order.
#include "net/wsocket.h"

namespace corvane {

void TWSocket::HandleMessage(std::uint32_t message, platform::MessageWord word, platform::MessageLong lparam) {
  if (message != kNotifyMessage) return;
  const auto belongs = [this, word] {
    return handle_ != platform::kInvalidSocket && static_cast<platform::MessageWord>(handle_) == word;
  };
  if (!belongs()) return;
  const auto events = static_cast<std::uint32_t>(lparam & 0xffff);
  const auto error = static_cast<std::uint16_t>((lparam >> 16) & 0xffff);
  // Each step may close the socket; later bits then belong to nobody.
  if ((events & platform::kFdConnect) != 0) HandleConnect(error);
  if ((events & platform::kFdRead) != 0 && belongs()) ReadLoop(word, error);
  if ((events & platform::kFdWrite) != 0 && belongs()) HandleWrite(error);
  if ((events & platform::kFdClose) != 0 && belongs()) HandleClose(error);
}

void TWSocket::HandleConnect(std::uint16_t error) {
  ChangeState(TSocketState::Connected);
  if (OnSessionConnected) OnSessionConnected(*this, error);
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
// otherwise be called forever), the socket was closed, or an exception
// escaped the handler (swallowed: it must not end the loop of the program).
void TWSocket::ReadLoop(platform::MessageWord word, std::uint16_t error) {
  for (;;) {
    last_error_ = 0;
    if (!OnDataAvailable) return;
    const std::uint64_t calls_before = receive_calls_;
    try {
      OnDataAvailable(*this, error);
    } catch (...) {
      return;
    }
    if (last_error_ != 0 || receive_calls_ == calls_before) return;
    if (handle_ == platform::kInvalidSocket || static_cast<platform::MessageWord>(handle_) != word) return;
    bool ok = false;
    if (Pending(ok) == 0) return;
  }
}

void TWSocket::HandleWrite(std::uint16_t error) {
  TryToSend();
  if (all_sent_ && OnDataSent) OnDataSent(*this, error);
}

void TWSocket::HandleClose(std::uint16_t error) {
  if (state_ == TSocketState::Connecting) return;
  const auto word = static_cast<platform::MessageWord>(handle_);
  bool ok = false;
  // Everything still pending is delivered before the session ends, not
  // just one handler call's worth.
  if (Pending(ok) > 0) ReadLoop(word, error);
  if (OnSessionClosed && !close_reported_) {
    close_reported_ = true;
    OnSessionClosed(*this, error);
  }
  if (state_ != TSocketState::Closed) Close();
}

}  // namespace corvane
