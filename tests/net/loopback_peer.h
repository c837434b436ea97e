#pragma once
// Test peers on 127.0.0.1 (or ::1): a server that accepts one connection and runs a
// script on it in its own thread with plain blocking calls, and a port that
// refuses connections. Both stop by themselves when destroyed.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/sockets.h"

namespace corvane::test {

// The accepted side of one connection (blocking).
class PeerLink {
 public:
  explicit PeerLink(platform::SocketHandle handle) : handle_(handle) {}
  bool SendAll(std::string_view data);
  // Receives until `count` bytes arrived or the connection ended.
  std::string ReceiveUpTo(std::size_t count);
  int Receive(char* buffer, int size);
  void ShutdownSend();
  // Ends the connection with a reset instead of an orderly close once the
  // script returns.
  void ResetAtEnd() { reset_at_end_ = true; }
  bool ResetRequested() const { return reset_at_end_; }

 private:
  platform::SocketHandle handle_;
  bool reset_at_end_ = false;
};

class LoopbackPeer {
 public:
  using Script = std::function<void(PeerLink& link)>;

  // Raises std::runtime_error when the family's loopback cannot be bound.
  explicit LoopbackPeer(Script script, int family = platform::kAfInet);
  ~LoopbackPeer();
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  std::string Port() const { return std::to_string(port_); }
  bool Finished() const { return finished_; }

 private:
  void Run(Script script);

  platform::Sockets& sockets_;
  int family_;
  platform::SocketHandle listener_ = platform::kInvalidSocket;
  std::uint16_t port_ = 0;
  // Guards the accepted handle: the peer's thread may close it while the
  // test's thread shuts it down to wake the script.
  std::mutex accepted_mutex_;
  platform::SocketHandle accepted_ = platform::kInvalidSocket;
  std::atomic<bool> accepted_once_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// A bound socket that does not listen: connecting to its port is refused.
class RefusingPort {
 public:
  explicit RefusingPort(int family = platform::kAfInet);
  ~RefusingPort();
  std::string Port() const { return std::to_string(port_); }

 private:
  platform::SocketHandle socket_ = platform::kInvalidSocket;
  std::uint16_t port_ = 0;
};

// Runs the message loop until `done` holds or timeout_ms passed.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 5000);
// Runs the message loop for about `ms` milliseconds.
void PumpFor(int ms);

}  // namespace corvane::test
