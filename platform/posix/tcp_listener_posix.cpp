#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/tcp_listener.h"

namespace corvane::platform {
namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return addr;
}

void MakeNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

bool WaitFor(int fd, short events, int timeout_ms) {
  pollfd p{fd, events, 0};
  return poll(&p, 1, timeout_ms) > 0;
}

}  // namespace

TcpStream::TcpStream(std::intptr_t handle) : handle_(handle) {
  MakeNonBlocking(Fd(handle));
  int one = 1;
  setsockopt(Fd(handle), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

TcpStream::~TcpStream() { close(Fd(handle_)); }

std::unique_ptr<TcpStream> TcpStream::Connect(std::uint16_t port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return nullptr;
  sockaddr_in addr = Loopback(port);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<TcpStream>(fd);
}

int TcpStream::Send(std::string_view data) {
  ssize_t n = send(Fd(handle_), data.data(), data.size(), MSG_NOSIGNAL);
  if (n >= 0) return static_cast<int>(n);
  if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return 0;
  broken_ = true;
  return -1;
}

void TcpStream::WaitWritable(int timeout_ms) { WaitFor(Fd(handle_), POLLOUT, timeout_ms); }

int TcpStream::Receive(char* buffer, int size) {
  ssize_t n = recv(Fd(handle_), buffer, static_cast<size_t>(size), 0);
  if (n >= 0) return static_cast<int>(n);
  if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) broken_ = true;
  return -1;
}

void TcpStream::WaitReadable(int timeout_ms) { WaitFor(Fd(handle_), POLLIN, timeout_ms); }

void TcpStream::ShutdownSend() { shutdown(Fd(handle_), SHUT_WR); }

std::unique_ptr<TcpListener> TcpListener::Open(std::uint16_t port, std::string& error) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr = Loopback(port);
  socklen_t len = sizeof addr;
  // The system's longest queue: a crowd that connects at once waits there
  // instead of having its handshakes dropped.
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, SOMAXCONN) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    error = std::strerror(errno);
    close(fd);
    return nullptr;
  }
  MakeNonBlocking(fd);
  return std::unique_ptr<TcpListener>(new TcpListener(fd, ntohs(addr.sin_port)));
}

TcpListener::~TcpListener() { close(Fd(handle_)); }

std::unique_ptr<TcpStream> TcpListener::Accept(int timeout_ms) {
  if (!WaitFor(Fd(handle_), POLLIN, timeout_ms)) return nullptr;
  int fd = accept(Fd(handle_), nullptr, nullptr);
  if (fd < 0) return nullptr;
  return std::make_unique<TcpStream>(fd);
}

int PollHandles(std::vector<PollEntry>& entries, int timeout_ms) {
  std::vector<pollfd> fds;
  fds.reserve(entries.size());
  for (const auto& e : entries)
    fds.push_back({Fd(e.handle), static_cast<short>((e.want_read ? POLLIN : 0) | (e.want_write ? POLLOUT : 0)), 0});
  int ready = poll(fds.data(), fds.size(), timeout_ms);
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].readable = ready > 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    entries[i].writable = ready > 0 && (fds[i].revents & POLLOUT) != 0;
  }
  return ready > 0 ? ready : 0;
}

}  // namespace corvane::platform
