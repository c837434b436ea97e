#pragma once
// The portable socket address and the system's sockaddr structures, which
// Winsock 2 and BSD sockets lay out alike, converted in one place for both
// adapters; and a name's addresses as the system's resolver gives them.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstring>
#include <vector>

#include "platform/sockets.h"

namespace corvane::platform::native {

// A socket address as the system takes it, with its length.
struct NativeAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;
  const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

inline NativeAddress ToNative(const SockAddr& a) {
  NativeAddress n;
  if (a.family == kAfInet6) {
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&n.storage);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = a.port;
    std::memcpy(&in6->sin6_addr, a.bytes.data(), sizeof in6->sin6_addr);
    in6->sin6_scope_id = a.scope;
    n.length = sizeof(sockaddr_in6);
  } else {
    auto* in = reinterpret_cast<sockaddr_in*>(&n.storage);
    in->sin_family = AF_INET;
    in->sin_port = a.port;
    std::memcpy(&in->sin_addr, a.bytes.data(), sizeof in->sin_addr);
    n.length = sizeof(sockaddr_in);
  }
  return n;
}

// False for a family other than IPv4 and IPv6.
inline bool FromNative(const sockaddr* native, SockAddr& a) {
  a = SockAddr{};
  if (native->sa_family == AF_INET6) {
    const auto* in6 = reinterpret_cast<const sockaddr_in6*>(native);
    a.family = kAfInet6;
    a.port = in6->sin6_port;
    std::memcpy(a.bytes.data(), &in6->sin6_addr, sizeof in6->sin6_addr);
    a.scope = in6->sin6_scope_id;
    return true;
  }
  if (native->sa_family != AF_INET) return false;
  const auto* in = reinterpret_cast<const sockaddr_in*>(native);
  a.port = in->sin_port;
  std::memcpy(a.bytes.data(), &in->sin_addr, sizeof in->sin_addr);
  return true;
}

// The IPv4 and IPv6 stream addresses of `name`, in the resolver's order.
// Returns the resolver's own error code (0 on success), which each adapter
// maps to the library's numbers.
inline int ResolveStreamAddresses(const char* name, bool numeric_only, std::vector<SockAddr>& found) {
  found.clear();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = numeric_only ? AI_NUMERICHOST : 0;
  addrinfo* list = nullptr;
  const int error = ::getaddrinfo(name, nullptr, &hints, &list);
  if (error != 0) return error;
  for (const addrinfo* i = list; i != nullptr; i = i->ai_next) {
    SockAddr a;
    if (i->ai_addr != nullptr && FromNative(i->ai_addr, a)) found.push_back(a);
  }
  ::freeaddrinfo(list);
  return 0;
}

}  // namespace corvane::platform::native
