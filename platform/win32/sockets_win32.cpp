// The sockets port on Windows: Winsock 2 itself.
#include <winsock2.h>
#include <ws2tcpip.h>
// After the Winsock 2 headers, which it needs.
#include <mstcpip.h>

#include <cstring>

#include "platform/native_address.h"
#include "platform/sockets.h"

namespace corvane::platform {
namespace {

using native::FromNative;
using native::NativeAddress;
using native::ToNative;

SOCKET Native(SocketHandle s) { return static_cast<SOCKET>(s); }

// Every address of a name; the resolver's codes are the library's error
// numbers. Keeps no state, so any thread may call it at any time.
int LookUp(const char* name, bool numeric_only, std::vector<SockAddr>& found) {
  if (const int error = native::ResolveStreamAddresses(name, numeric_only, found); error != 0) return error;
  return found.empty() ? WSANO_DATA : 0;
}

class WinSockets final : public Sockets {
 public:
  int Startup(std::uint16_t version) override {
    WSADATA data;
    return WSAStartup(version, &data);
  }

  int Cleanup() override { return WSACleanup(); }

  SocketHandle Socket(int family, int type, int protocol) override {
    const SOCKET s = ::socket(family, type, protocol);
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
  }

  int SetSockOpt(SocketHandle s, int level, int option, const void* value, int length) override {
    return ::setsockopt(Native(s), level, option, static_cast<const char*>(value), length);
  }

  int AsyncSelect(SocketHandle s, WindowId window, std::uint32_t message, std::uint32_t mask) override {
    return WSAAsyncSelect(Native(s), reinterpret_cast<HWND>(window), message, static_cast<long>(mask));
  }

  int Connect(SocketHandle s, const SockAddr& address) override {
    const NativeAddress native = ToNative(address);
    return ::connect(Native(s), native.Get(), native.length);
  }

  int Send(SocketHandle s, const void* data, int length) override {
    return ::send(Native(s), static_cast<const char*>(data), length, 0);
  }

  int SendTo(SocketHandle s, const void* data, int length, const SockAddr& to) override {
    const NativeAddress native = ToNative(to);
    return ::sendto(Native(s), static_cast<const char*>(data), length, 0, native.Get(), native.length);
  }

  int Recv(SocketHandle s, void* buffer, int length) override {
    return ::recv(Native(s), static_cast<char*>(buffer), length, 0);
  }

  int Shutdown(SocketHandle s, int how) override { return ::shutdown(Native(s), how); }

  int CloseSocket(SocketHandle s) override { return ::closesocket(Native(s)); }

  int PendingBytes(SocketHandle s, std::uint32_t& count) override {
    u_long n = 0;
    if (::ioctlsocket(Native(s), FIONREAD, &n) != 0) return kSocketError;
    count = static_cast<std::uint32_t>(n);
    return 0;
  }

  bool ProtocolByName(const char* name, int& number) override {
    const protoent* p = ::getprotobyname(name);
    if (p == nullptr) return false;
    number = p->p_proto;
    return true;
  }

  bool ServiceByName(const char* name, const char* protocol, std::uint16_t& port) override {
    const servent* s = ::getservbyname(name, protocol);
    if (s == nullptr) return false;
    port = static_cast<std::uint16_t>(s->s_port);
    return true;
  }

  int LookupAddresses(const char* name, bool numeric_only, std::vector<SockAddr>& found) override {
    return LookUp(name, numeric_only, found);
  }

  NameResolver Resolver() override {
    return [](const std::string& name, std::vector<SockAddr>& found) { return LookUp(name.c_str(), false, found); };
  }

  // The probes of a dead connection come as often as the first one waited.
  int SetKeepAlive(SocketHandle s, int seconds) override {
    tcp_keepalive values{};
    values.onoff = seconds > 0 ? 1 : 0;
    values.keepalivetime = static_cast<u_long>(seconds > 0 ? seconds : 0) * 1000u;
    values.keepaliveinterval = values.keepalivetime;
    DWORD returned = 0;
    return WSAIoctl(Native(s), SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr, nullptr);
  }

  // The system tells whether keepalive is on, not its time.
  int KeepAliveOf(SocketHandle s, int& seconds) override {
    BOOL on = FALSE;
    int length = sizeof on;
    if (::getsockopt(Native(s), SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<char*>(&on), &length) != 0) {
      return kSocketError;
    }
    seconds = on ? -1 : 0;
    return 0;
  }

  std::uint32_t InetAddr(const char* text) override { return ::inet_addr(text); }

  int LastError() override { return WSAGetLastError(); }
  void SetLastError(int number) override { WSASetLastError(number); }

  int Bind(SocketHandle s, const SockAddr& address) override {
    const NativeAddress native = ToNative(address);
    return ::bind(Native(s), native.Get(), native.length);
  }

  int Listen(SocketHandle s, int backlog) override { return ::listen(Native(s), backlog); }

  SocketHandle Accept(SocketHandle s) override {
    const SOCKET a = ::accept(Native(s), nullptr, nullptr);
    return a == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(a);
  }

  int LocalAddress(SocketHandle s, SockAddr& address) override {
    sockaddr_storage native{};
    int length = sizeof native;
    if (::getsockname(Native(s), reinterpret_cast<sockaddr*>(&native), &length) != 0) return kSocketError;
    if (FromNative(reinterpret_cast<const sockaddr*>(&native), address)) return 0;
    WSASetLastError(WSAEAFNOSUPPORT);
    return kSocketError;
  }
};

}  // namespace

Sockets& SystemSockets() {
  static WinSockets sockets;
  return sockets;
}

}  // namespace corvane::platform
