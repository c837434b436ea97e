#include "loopback_peer.h"

#include <chrono>
#include <stdexcept>

#include "platform/message_loop.h"

namespace corvane::test {
namespace {

// 127.0.0.1, or ::1 for IPv6.
platform::SockAddr Loopback(int family, std::uint16_t port_net) {
  platform::SockAddr a;
  if (family == platform::kAfInet6) {
    a.family = family;
    a.bytes[15] = 1;
  } else {
    a.bytes = {127, 0, 0, 1};
  }
  a.port = port_net;
  return a;
}

// A socket bound to the loopback address on a free port; returns the port.
std::uint16_t BindEphemeral(platform::Sockets& sockets, int family, platform::SocketHandle& s) {
  if (sockets.Startup(platform::kSocketsVersion11) != 0) throw std::runtime_error("sockets start-up failed");
  s = sockets.Socket(family, platform::kSockStream, 6);
  platform::SockAddr bound;
  if (s == platform::kInvalidSocket || sockets.Bind(s, Loopback(family, 0)) != 0 ||
      sockets.LocalAddress(s, bound) != 0) {
    throw std::runtime_error("cannot bind a loopback socket");
  }
  return platform::NetToHost16(bound.port);
}

}  // namespace

bool PeerLink::SendAll(std::string_view data) {
  auto& sockets = platform::SystemSockets();
  while (!data.empty()) {
    const int n = sockets.Send(handle_, data.data(), static_cast<int>(std::min<std::size_t>(data.size(), 65536)));
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string PeerLink::ReceiveUpTo(std::size_t count) {
  std::string received;
  char buffer[65536];
  while (received.size() < count) {
    const int n = Receive(buffer, static_cast<int>(std::min(sizeof buffer, count - received.size())));
    if (n <= 0) break;
    received.append(buffer, static_cast<std::size_t>(n));
  }
  return received;
}

int PeerLink::Receive(char* buffer, int size) { return platform::SystemSockets().Recv(handle_, buffer, size); }

void PeerLink::ShutdownSend() { platform::SystemSockets().Shutdown(handle_, 1); }

LoopbackPeer::LoopbackPeer(Script script, int family) : sockets_(platform::SystemSockets()), family_(family) {
  port_ = BindEphemeral(sockets_, family, listener_);
  if (sockets_.Listen(listener_, 1) != 0) throw std::runtime_error("cannot listen on loopback");
  thread_ = std::thread([this, script = std::move(script)] { Run(script); });
}

void LoopbackPeer::Run(Script script) {
  const platform::SocketHandle accepted = sockets_.Accept(listener_);
  {
    std::lock_guard<std::mutex> lock(accepted_mutex_);
    accepted_ = accepted;
  }
  accepted_once_ = true;
  if (accepted != platform::kInvalidSocket) {
    PeerLink link(accepted);
    script(link);
    if (link.ResetRequested()) {
      const platform::Linger abortive{1, 0};
      sockets_.SetSockOpt(accepted, platform::kSolSocket, platform::kSoLinger, &abortive, sizeof abortive);
      std::lock_guard<std::mutex> lock(accepted_mutex_);
      sockets_.CloseSocket(accepted);
      accepted_ = platform::kInvalidSocket;
    }
  }
  finished_ = true;
}

LoopbackPeer::~LoopbackPeer() {
  platform::SocketHandle waker = platform::kInvalidSocket;
  if (!accepted_once_) {
    // Nobody connected yet: a throwaway connection ends the blocking accept.
    waker = sockets_.Socket(family_, platform::kSockStream, 6);
    sockets_.Connect(waker, Loopback(family_, platform::HostToNet16(port_)));
  }
  // A script still waiting for data is woken by shutting its link down.
  for (int i = 0; i < 500 && !finished_; ++i) {
    {
      std::lock_guard<std::mutex> lock(accepted_mutex_);
      if (accepted_ != platform::kInvalidSocket) sockets_.Shutdown(accepted_, platform::kShutdownBoth);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  thread_.join();
  if (accepted_ != platform::kInvalidSocket) sockets_.CloseSocket(accepted_);
  if (waker != platform::kInvalidSocket) sockets_.CloseSocket(waker);
  sockets_.CloseSocket(listener_);
  sockets_.Cleanup();
}

RefusingPort::RefusingPort(int family) { port_ = BindEphemeral(platform::SystemSockets(), family, socket_); }

RefusingPort::~RefusingPort() {
  platform::SystemSockets().CloseSocket(socket_);
  platform::SystemSockets().Cleanup();
}

bool PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    platform::WaitAndProcessMessages(20);
  }
  return true;
}

void PumpFor(int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < deadline) platform::WaitAndProcessMessages(10);
}

}  // namespace corvane::test
