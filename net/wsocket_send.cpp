// Outgoing data: Send queues, TryToSend hands the queue to the socket.
#include <algorithm>
#include <limits>

#include "net/wsocket.h"

namespace corvane {

std::int32_t TWSocket::Send(const void* data, std::int32_t length) {
  const bool connecting = state_ == TSocketState::Connecting;
  if (state_ != TSocketState::Connected && !connecting) RaiseWithError(platform::kWsaENotConn, "Send");
  if (length <= 0) return 0;
  if (data == nullptr) RaiseWithError(platform::kWsaEFault, "Send");
  if (queue_.PendingBytes() + length > kMaxQueued) QueueOverflow();
  all_sent_ = false;
  queue_.Append(data, length);
  // Bytes sent while connecting belong to this session; the connection's
  // first write notification sends them.
  if (connecting) return length;
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  TryToSend();
  // OnDataSent always follows asynchronously, even when all went out at once.
  if (alive && SameSession(session) && all_sent_) {
    window_->Post(kNotifyMessage, static_cast<platform::MessageWord>(handle_), platform::kFdWrite);
  }
  return length;
}

void TWSocket::QueueOverflow() {
  const std::string message = SocketErrorMessage(platform::kWsaENoBufs, "Send (queue full)");
  sockets_.SetLastError(platform::kWsaENoBufs);
  if (handle_ != platform::kInvalidSocket) {
    EndSession(platform::kWsaENoBufs);  // a handler may destroy the socket here
  } else {
    queue_.Clear();
  }
  throw ESocketException(message);
}

std::int32_t TWSocket::Send(std::string_view data) {
  constexpr std::size_t kMaxPiece = std::numeric_limits<std::int32_t>::max();
  if (data.size() <= kMaxPiece) return Send(data.data(), static_cast<std::int32_t>(data.size()));
  for (std::size_t offset = 0; offset < data.size(); offset += kMaxPiece) {
    const std::size_t piece = std::min(kMaxPiece, data.size() - offset);
    Send(data.data() + offset, static_cast<std::int32_t>(piece));
  }
  return std::numeric_limits<std::int32_t>::max();
}

void TWSocket::TryToSend() {
  if (handle_ == platform::kInvalidSocket || queue_.Empty()) return;
  for (;;) {
    const TBuffer& block = queue_.Front();
    std::int32_t length = 0;
    const char* bytes = block.Peek(length);
    if (length == 0) {
      if (queue_.BlockCount() > 1) {
        queue_.DropFront();
        continue;
      }
      all_sent_ = true;
      return;
    }
    const int sent = socket_type_ == platform::kSockDgram ? sockets_.SendTo(handle_, bytes, length, remote_)
                                                          : sockets_.Send(handle_, bytes, length);
    if (sent == 0) return;
    if (sent < 0) {
      switch (sockets_.LastError()) {
        case platform::kWsaEWouldBlock:
          return;
        case platform::kWsaEInval:
        case platform::kWsaENotSock:
        case platform::kWsaEConnReset:
        case platform::kWsaENotConn:
          Close();
          return;
        default:
          SocketError("TryToSend failed");
      }
    }
    // A partial send goes on with the rest at once: only a send that would
    // block re-arms the write notification, so stopping here could stall.
    queue_.RemoveFront(sent);
  }
}

}  // namespace corvane
