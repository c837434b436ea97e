#include <winsock2.h>

#include <string>

#include "platform/tcp_listener.h"

namespace corvane::platform {
namespace {

SOCKET Sock(std::intptr_t handle) { return static_cast<SOCKET>(handle); }

bool Started() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return addr;
}

bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }

// select() on one socket; Windows XP has no poll.
bool WaitFor(SOCKET s, bool write, int timeout_ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  return select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &tv) > 0;
}

}  // namespace

TcpStream::TcpStream(std::intptr_t handle) : handle_(handle) {
  u_long on = 1;
  ioctlsocket(Sock(handle), FIONBIO, &on);
  BOOL nodelay = TRUE;
  setsockopt(Sock(handle), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay), sizeof nodelay);
}

TcpStream::~TcpStream() { closesocket(Sock(handle_)); }

std::unique_ptr<TcpStream> TcpStream::Connect(std::uint16_t port) {
  if (!Started()) return nullptr;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return nullptr;
  sockaddr_in addr = Loopback(port);
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    closesocket(s);
    return nullptr;
  }
  return std::make_unique<TcpStream>(static_cast<std::intptr_t>(s));
}

int TcpStream::Send(std::string_view data) {
  int n = send(Sock(handle_), data.data(), static_cast<int>(data.size()), 0);
  if (n >= 0) return n;
  if (WouldBlock()) return 0;
  broken_ = true;
  return -1;
}

void TcpStream::WaitWritable(int timeout_ms) { WaitFor(Sock(handle_), true, timeout_ms); }

int TcpStream::Receive(char* buffer, int size) {
  int n = recv(Sock(handle_), buffer, size, 0);
  if (n >= 0) return n;
  if (!WouldBlock()) broken_ = true;
  return -1;
}

void TcpStream::WaitReadable(int timeout_ms) { WaitFor(Sock(handle_), false, timeout_ms); }

void TcpStream::ShutdownSend() { shutdown(Sock(handle_), SD_SEND); }

std::unique_ptr<TcpListener> TcpListener::Open(std::uint16_t port, std::string& error) {
  if (!Started()) {
    error = "WSAStartup failed";
    return nullptr;
  }
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    error = "socket failed, error " + std::to_string(WSAGetLastError());
    return nullptr;
  }
  sockaddr_in addr = Loopback(port);
  int len = sizeof addr;
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s, SOMAXCONN) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    error = "listen failed, error " + std::to_string(WSAGetLastError());
    closesocket(s);
    return nullptr;
  }
  return std::unique_ptr<TcpListener>(new TcpListener(static_cast<std::intptr_t>(s), ntohs(addr.sin_port)));
}

TcpListener::~TcpListener() { closesocket(Sock(handle_)); }

std::unique_ptr<TcpStream> TcpListener::Accept(int timeout_ms) {
  if (!WaitFor(Sock(handle_), false, timeout_ms)) return nullptr;
  SOCKET s = accept(Sock(handle_), nullptr, nullptr);
  if (s == INVALID_SOCKET) return nullptr;
  return std::make_unique<TcpStream>(static_cast<std::intptr_t>(s));
}

int PollHandles(std::vector<PollEntry>& entries, int timeout_ms) {
  fd_set readable, writable;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  for (const auto& e : entries) {
    if (e.want_read) FD_SET(Sock(e.handle), &readable);
    if (e.want_write) FD_SET(Sock(e.handle), &writable);
  }
  timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  int ready = select(0, &readable, &writable, nullptr, &tv);
  for (auto& e : entries) {
    e.readable = ready > 0 && FD_ISSET(Sock(e.handle), &readable);
    e.writable = ready > 0 && FD_ISSET(Sock(e.handle), &writable);
  }
  return ready > 0 ? ready : 0;
}

}  // namespace corvane::platform
