// BSD sockets behind the sockets port: error numbers translated, readiness
// reported through the reactor as the notification messages.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/native_address.h"
#include "platform/posix/reactor.h"
#include "platform/posix/socket_error_map.h"
#include "platform/sockets.h"

namespace corvane::platform {
namespace {

using native::FromNative;
using native::NativeAddress;
using native::ToNative;

// Descriptors are ints; a handle holds one, widened to the pointer size that
// Windows handles need.
int Fd(SocketHandle s) { return static_cast<int>(s); }

thread_local int t_last_error = 0;

int Fail(int number) {
  t_last_error = number;
  return kSocketError;
}

bool LookupFailed(int number) {
  t_last_error = number;
  return false;
}

int FailErrno() { return Fail(posix::SocketErrorFromErrno(errno)); }

int NativeFamily(int family) { return family == kAfInet6 ? AF_INET6 : family == kAfInet ? AF_INET : -1; }

// The probes of a dead connection come as often as the first one waited.
int SetTcpKeepAlive(int fd, int seconds) {
  const int on = seconds > 0 ? 1 : 0;
  if (::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0) return -1;
  if (seconds <= 0) return 0;
  if (::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &seconds, sizeof seconds) != 0) return -1;
  return ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &seconds, sizeof seconds);
}

bool OptionFromPort(int option, int& native) {
  switch (option) {
    case kSoBroadcast:
      native = SO_BROADCAST;
      return true;
    case kSoKeepAlive:
      native = SO_KEEPALIVE;
      return true;
    case kSoReuseAddr:
      native = SO_REUSEADDR;
      return true;
    case kSoLinger:
      native = SO_LINGER;
      return true;
    default:
      return false;
  }
}

// Outcomes of a non-blocking connect that the sockets library reports
// through the connect notification rather than the call.
bool IsConnectOutcome(int error) {
  return error == ECONNREFUSED || error == ETIMEDOUT || error == ENETUNREACH || error == EHOSTUNREACH ||
         error == ECONNRESET;
}

// Every address of a name, with the resolver's failures as the library's
// error numbers; keeps no state, so any thread may call it at any time.
int LookUp(const char* name, bool numeric_only, std::vector<SockAddr>& found) {
  if (const int error = native::ResolveStreamAddresses(name, numeric_only, found); error != 0)
    return posix::SocketErrorFromResolver(error);
  return found.empty() ? kWsaNoData : 0;
}

class PosixSockets final : public Sockets {
 public:
  int Startup(std::uint16_t version) override {
    const int major = version & 0xff;
    const int minor = version >> 8;
    return major < 1 || (major == 1 && minor < 1) ? kWsaVerNotSupported : 0;
  }

  int Cleanup() override { return 0; }

  SocketHandle Socket(int family, int type, int protocol) override {
    const int native_family = NativeFamily(family);
    if (native_family < 0) return Fail(kWsaEAfNoSupport);
    int native_type = 0;
    if (type == kSockStream) {
      native_type = SOCK_STREAM;
    } else if (type == kSockDgram) {
      native_type = SOCK_DGRAM;
    } else {
      return Fail(kWsaESocktNoSupport);
    }
    const int fd = ::socket(native_family, native_type | SOCK_CLOEXEC, protocol);
    return fd < 0 ? FailErrno() : fd;
  }

  int SetSockOpt(SocketHandle s, int level, int option, const void* value, int length) override {
    int native = 0;
    if (level != kSolSocket || !OptionFromPort(option, native)) return Fail(kWsaENoProtoOpt);
    if (value == nullptr) return Fail(kWsaEFault);
    if (native == SO_LINGER) {
      if (length < static_cast<int>(sizeof(Linger))) return Fail(kWsaEFault);
      Linger l;
      std::memcpy(&l, value, sizeof l);
      const linger nl{l.onoff != 0 ? 1 : 0, l.seconds};
      return ::setsockopt(Fd(s), SOL_SOCKET, SO_LINGER, &nl, sizeof nl) == 0 ? 0 : FailErrno();
    }
    if (length < static_cast<int>(sizeof(std::int32_t))) return Fail(kWsaEFault);
    std::int32_t v = 0;
    std::memcpy(&v, value, sizeof v);
    const int flag = v != 0 ? 1 : 0;
    return ::setsockopt(Fd(s), SOL_SOCKET, native, &flag, sizeof flag) == 0 ? 0 : FailErrno();
  }

  int AsyncSelect(SocketHandle s, WindowId window, std::uint32_t message, std::uint32_t mask) override {
    auto& reactor = posix::Reactor::ForThisThread();
    const int flags = ::fcntl(Fd(s), F_GETFL);
    if (flags < 0 || ::fcntl(Fd(s), F_SETFL, flags | O_NONBLOCK) != 0) return FailErrno();
    if (mask == 0) {
      reactor.Unwatch(Fd(s));
    } else {
      reactor.Watch(Fd(s), window, message, mask);
    }
    return 0;
  }

  int Connect(SocketHandle s, const SockAddr& address) override {
    auto& reactor = posix::Reactor::ForThisThread();
    const NativeAddress native = ToNative(address);
    if (::connect(Fd(s), native.Get(), native.length) == 0) {
      reactor.ConnectStarted(Fd(s), 0);
      return 0;
    }
    const int error = errno;
    if (!reactor.Watched(Fd(s))) return FailErrno();
    if (error == EINPROGRESS) {
      reactor.ConnectStarted(Fd(s), -1);
      return Fail(kWsaEWouldBlock);
    }
    if (IsConnectOutcome(error)) {
      reactor.ConnectStarted(Fd(s), posix::SocketErrorFromErrno(error));
      return Fail(kWsaEWouldBlock);
    }
    return FailErrno();
  }

  int Send(SocketHandle s, const void* data, int length) override {
    if (length < 0) return Fail(kWsaEInval);
    const ssize_t n = ::send(Fd(s), data, static_cast<std::size_t>(length), MSG_NOSIGNAL);
    return n >= 0 ? static_cast<int>(n) : SendFailed(s);
  }

  int SendTo(SocketHandle s, const void* data, int length, const SockAddr& to) override {
    if (length < 0) return Fail(kWsaEInval);
    const NativeAddress native = ToNative(to);
    const ssize_t n =
        ::sendto(Fd(s), data, static_cast<std::size_t>(length), MSG_NOSIGNAL, native.Get(), native.length);
    return n >= 0 ? static_cast<int>(n) : SendFailed(s);
  }

  int Recv(SocketHandle s, void* buffer, int length) override {
    if (length < 0) return Fail(kWsaEInval);
    const ssize_t n = ::recv(Fd(s), buffer, static_cast<std::size_t>(length), 0);
    const int error = n < 0 ? posix::SocketErrorFromErrno(errno) : 0;
    posix::Reactor::ForThisThread().ReadCalled(Fd(s), error);
    return n >= 0 ? static_cast<int>(n) : Fail(error);
  }

  int Shutdown(SocketHandle s, int how) override {
    const int native = how == 0 ? SHUT_RD : how == 1 ? SHUT_WR : SHUT_RDWR;
    return ::shutdown(Fd(s), native) == 0 ? 0 : FailErrno();
  }

  int CloseSocket(SocketHandle s) override {
    posix::Reactor::ForThisThread().Unwatch(Fd(s));
    return ::close(Fd(s)) == 0 ? 0 : FailErrno();
  }

  int PendingBytes(SocketHandle s, std::uint32_t& count) override {
    int n = 0;
    if (::ioctl(Fd(s), FIONREAD, &n) != 0) return FailErrno();
    count = static_cast<std::uint32_t>(n);
    return 0;
  }

  bool ProtocolByName(const char* name, int& number) override {
    const protoent* p = ::getprotobyname(name);
    if (p == nullptr) return LookupFailed(kWsaNoData);
    number = p->p_proto;
    return true;
  }

  bool ServiceByName(const char* name, const char* protocol, std::uint16_t& port) override {
    const servent* s = ::getservbyname(name, protocol);
    if (s == nullptr) return LookupFailed(kWsaNoData);
    port = static_cast<std::uint16_t>(s->s_port);
    return true;
  }

  int LookupAddresses(const char* name, bool numeric_only, std::vector<SockAddr>& found) override {
    return LookUp(name, numeric_only, found);
  }

  NameResolver Resolver() override {
    return [](const std::string& name, std::vector<SockAddr>& found) { return LookUp(name.c_str(), false, found); };
  }

  int SetKeepAlive(SocketHandle s, int seconds) override {
    return SetTcpKeepAlive(Fd(s), seconds) == 0 ? 0 : FailErrno();
  }

  int KeepAliveOf(SocketHandle s, int& seconds) override {
    int on = 0;
    socklen_t length = sizeof on;
    if (::getsockopt(Fd(s), SOL_SOCKET, SO_KEEPALIVE, &on, &length) != 0) return FailErrno();
    seconds = 0;
    if (on == 0) return 0;
    length = sizeof seconds;
    return ::getsockopt(Fd(s), IPPROTO_TCP, TCP_KEEPIDLE, &seconds, &length) == 0 ? 0 : FailErrno();
  }

  std::uint32_t InetAddr(const char* text) override { return ::inet_addr(text); }

  int LastError() override { return t_last_error; }
  void SetLastError(int number) override { t_last_error = number; }

  int Bind(SocketHandle s, const SockAddr& address) override {
    const NativeAddress native = ToNative(address);
    return ::bind(Fd(s), native.Get(), native.length) == 0 ? 0 : FailErrno();
  }

  int Listen(SocketHandle s, int backlog) override { return ::listen(Fd(s), backlog) == 0 ? 0 : FailErrno(); }

  SocketHandle Accept(SocketHandle s) override {
    const int fd = ::accept4(Fd(s), nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? FailErrno() : fd;
  }

  int LocalAddress(SocketHandle s, SockAddr& address) override {
    sockaddr_storage native{};
    socklen_t length = sizeof native;
    if (::getsockname(Fd(s), reinterpret_cast<sockaddr*>(&native), &length) != 0) return FailErrno();
    return FromNative(reinterpret_cast<const sockaddr*>(&native), address) ? 0 : Fail(kWsaEAfNoSupport);
  }

 private:
  int SendFailed(SocketHandle s) {
    const int number = posix::SocketErrorFromErrno(errno);
    if (number == kWsaEWouldBlock) posix::Reactor::ForThisThread().SendBlocked(Fd(s));
    return Fail(number);
  }
};

}  // namespace

Sockets& SystemSockets() {
  static PosixSockets sockets;
  return sockets;
}

}  // namespace corvane::platform
