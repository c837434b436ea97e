#include <chrono>

#include "platform/tcp_listener.h"

namespace corvane::platform {

bool TcpStream::SendAll(std::string_view data, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!data.empty()) {
    const int sent = Send(data);
    if (sent < 0) return false;
    data.remove_prefix(static_cast<std::size_t>(sent));
    if (data.empty()) break;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    WaitWritable(static_cast<int>(left.count()));
  }
  return true;
}

int TcpStream::ReceiveWait(char* buffer, int size, int timeout_ms) {
  WaitReadable(timeout_ms);
  return Receive(buffer, size);
}

}  // namespace corvane::platform
