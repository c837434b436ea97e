// The sockets port on Windows: wsock32 itself.
#include <winsock.h>

#include <cstring>

#include "platform/sockets.h"

namespace corvane::platform {
namespace {

SOCKET Native(SocketHandle s) { return static_cast<SOCKET>(s); }

sockaddr_in ToNative(const SockAddrIn& a) {
  sockaddr_in n{};
  n.sin_family = AF_INET;
  n.sin_port = a.port;
  n.sin_addr.s_addr = a.address;
  return n;
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

  int Connect(SocketHandle s, const SockAddrIn& address) override {
    const sockaddr_in native = ToNative(address);
    return ::connect(Native(s), reinterpret_cast<const sockaddr*>(&native), sizeof native);
  }

  int Send(SocketHandle s, const void* data, int length) override {
    return ::send(Native(s), static_cast<const char*>(data), length, 0);
  }

  int SendTo(SocketHandle s, const void* data, int length, const SockAddrIn& to) override {
    const sockaddr_in native = ToNative(to);
    return ::sendto(Native(s), static_cast<const char*>(data), length, 0, reinterpret_cast<const sockaddr*>(&native),
                    sizeof native);
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

  bool HostByName(const char* name, std::uint32_t& address) override {
    const hostent* h = ::gethostbyname(name);
    if (h == nullptr || h->h_addr_list == nullptr || h->h_addr_list[0] == nullptr) return false;
    std::memcpy(&address, h->h_addr_list[0], sizeof address);
    return true;
  }

  std::uint32_t InetAddr(const char* text) override { return ::inet_addr(text); }

  int LastError() override { return WSAGetLastError(); }
  void SetLastError(int number) override { WSASetLastError(number); }

  int Bind(SocketHandle s, const SockAddrIn& address) override {
    const sockaddr_in native = ToNative(address);
    return ::bind(Native(s), reinterpret_cast<const sockaddr*>(&native), sizeof native);
  }

  int Listen(SocketHandle s, int backlog) override { return ::listen(Native(s), backlog); }

  SocketHandle Accept(SocketHandle s) override {
    const SOCKET a = ::accept(Native(s), nullptr, nullptr);
    return a == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(a);
  }

  int LocalAddress(SocketHandle s, SockAddrIn& address) override {
    sockaddr_in native{};
    int length = sizeof native;
    if (::getsockname(Native(s), reinterpret_cast<sockaddr*>(&native), &length) != 0) return kSocketError;
    address.port = native.sin_port;
    address.address = native.sin_addr.s_addr;
    return 0;
  }
};

}  // namespace

Sockets& SystemSockets() {
  static WinSockets sockets;
  return sockets;
}

}  // namespace corvane::platform
