#pragma once
// Loopback TCP endpoints for the programs and tests that play the host side:
// the demo host and the scripted servers. Only 127.0.0.1 is ever used.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::platform {

// One accepted connection, non-blocking.
class TcpStream {
 public:
  explicit TcpStream(std::intptr_t handle);
  // The client side: connects to 127.0.0.1:port; null on failure.
  static std::unique_ptr<TcpStream> Connect(std::uint16_t port);
  ~TcpStream();
  TcpStream(const TcpStream&) = delete;
  TcpStream& operator=(const TcpStream&) = delete;

  // Sends what the network takes now: the count sent, 0 when it would block,
  // -1 when the connection is broken.
  int Send(std::string_view data);
  // Sends everything, waiting up to timeout_ms in total; false on failure.
  bool SendAll(std::string_view data, int timeout_ms);
  // Bytes received (> 0), 0 when the peer closed, -1 when nothing is pending
  // or the connection failed (Broken() tells them apart).
  int Receive(char* buffer, int size);
  // Waits up to timeout_ms for data, then receives as Receive does.
  int ReceiveWait(char* buffer, int size, int timeout_ms);
  // Wait up to timeout_ms until data arrives or the network takes more.
  void WaitReadable(int timeout_ms);
  void WaitWritable(int timeout_ms);
  bool Broken() const { return broken_; }
  // Half-closes the sending direction so that the peer reads end of stream.
  void ShutdownSend();
  std::intptr_t Handle() const { return handle_; }

 private:
  std::intptr_t handle_;
  bool broken_ = false;
};

// A listening socket on 127.0.0.1.
class TcpListener {
 public:
  // Port 0 picks a free port. Returns null and sets error on failure.
  static std::unique_ptr<TcpListener> Open(std::uint16_t port, std::string& error);
  ~TcpListener();
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  std::uint16_t Port() const { return port_; }
  // Waits up to timeout_ms for a client; null when none came.
  std::unique_ptr<TcpStream> Accept(int timeout_ms);
  std::intptr_t Handle() const { return handle_; }

 private:
  TcpListener(std::intptr_t handle, std::uint16_t port) : handle_(handle), port_(port) {}
  std::intptr_t handle_;
  std::uint16_t port_;
};

struct PollEntry {
  std::intptr_t handle;
  bool want_read = true;
  bool want_write = false;
  bool readable = false;  // also set on hang-up and error
  bool writable = false;
};

// Waits up to timeout_ms until one of the entries is ready; returns how many
// are ready (0 on timeout or interruption by a signal).
int PollHandles(std::vector<PollEntry>& entries, int timeout_ms);

}  // namespace corvane::platform
