#pragma once
// The platform's sockets library with a hook on receive calls, so that tests
// can make Receive fail or report a closed peer at a chosen moment.
#include <functional>
#include <string>

#include "platform/sockets.h"

namespace corvane::tntest {

class ForwardingSockets : public platform::Sockets {
 public:
  using Sockets = platform::Sockets;
  using SocketHandle = platform::SocketHandle;
  using WindowId = platform::WindowId;
  using SockAddr = platform::SockAddr;

  // When set, receive calls still consume the bytes, but the hook chooses
  // the result that the caller sees (and may call SetLastError).
  std::function<int(int real_result)> recv_hook;
  // Every byte received from and accepted for the network, in order.
  std::string received;
  std::string sent;

  int Startup(std::uint16_t v) override { return sys_.Startup(v); }
  int Cleanup() override { return sys_.Cleanup(); }
  SocketHandle Socket(int f, int t, int p) override { return sys_.Socket(f, t, p); }
  int SetSockOpt(SocketHandle s, int l, int o, const void* v, int n) override { return sys_.SetSockOpt(s, l, o, v, n); }
  int AsyncSelect(SocketHandle s, WindowId w, std::uint32_t m, std::uint32_t k) override {
    return sys_.AsyncSelect(s, w, m, k);
  }
  int Connect(SocketHandle s, const SockAddr& a) override { return sys_.Connect(s, a); }
  int Send(SocketHandle s, const void* d, int n) override {
    int result = sys_.Send(s, d, n);
    if (result > 0) sent.append(static_cast<const char*>(d), static_cast<size_t>(result));
    return result;
  }
  int SendTo(SocketHandle s, const void* d, int n, const SockAddr& a) override { return sys_.SendTo(s, d, n, a); }
  int Recv(SocketHandle s, void* b, int n) override {
    int result = sys_.Recv(s, b, n);
    if (result > 0) received.append(static_cast<const char*>(b), static_cast<size_t>(result));
    return recv_hook ? recv_hook(result) : result;
  }
  int Shutdown(SocketHandle s, int h) override { return sys_.Shutdown(s, h); }
  int CloseSocket(SocketHandle s) override { return sys_.CloseSocket(s); }
  int PendingBytes(SocketHandle s, std::uint32_t& c) override { return sys_.PendingBytes(s, c); }
  bool ProtocolByName(const char* n, int& p) override { return sys_.ProtocolByName(n, p); }
  bool ServiceByName(const char* n, const char* p, std::uint16_t& port) override {
    return sys_.ServiceByName(n, p, port);
  }
  int LookupAddresses(const char* n, bool numeric, std::vector<SockAddr>& f) override {
    return sys_.LookupAddresses(n, numeric, f);
  }
  NameResolver Resolver() override { return sys_.Resolver(); }
  int SetKeepAlive(SocketHandle s, int seconds) override { return sys_.SetKeepAlive(s, seconds); }
  int KeepAliveOf(SocketHandle s, int& seconds) override { return sys_.KeepAliveOf(s, seconds); }
  std::uint32_t InetAddr(const char* t) override { return sys_.InetAddr(t); }
  int LastError() override { return sys_.LastError(); }
  void SetLastError(int n) override { sys_.SetLastError(n); }
  int Bind(SocketHandle s, const SockAddr& a) override { return sys_.Bind(s, a); }
  int Listen(SocketHandle s, int b) override { return sys_.Listen(s, b); }
  SocketHandle Accept(SocketHandle s) override { return sys_.Accept(s); }
  int LocalAddress(SocketHandle s, SockAddr& a) override { return sys_.LocalAddress(s, a); }

 private:
  Sockets& sys_ = platform::SystemSockets();
};

}  // namespace corvane::tntest
