#pragma once
// The sockets facility the socket component is written against: the small
// asynchronous-notification subset of Windows Sockets 1.1, with its constants
// and error numbers, in portable types, plus the name lookup and the keepalive
// timing of Winsock 2. The Windows adapter forwards to ws2_32; the POSIX
// adapter emulates it on BSD sockets and a poll reactor.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_loop.h"

namespace corvane::platform {

// As wide as a pointer: a Windows socket handle is pointer-sized.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;
inline constexpr int kSocketError = -1;

inline constexpr int kAfInet = 2;
inline constexpr int kAfInet6 = 23;  // numbered as Windows numbers it
inline constexpr int kSockStream = 1;
inline constexpr int kSockDgram = 2;

inline constexpr int kSolSocket = 0xffff;
inline constexpr int kSoBroadcast = 0x0020;
inline constexpr int kSoKeepAlive = 0x0008;
inline constexpr int kSoReuseAddr = 0x0004;
inline constexpr int kSoLinger = 0x0080;

inline constexpr int kShutdownBoth = 2;
inline constexpr std::uint32_t kInaddrNone = 0xffffffffu;

// Notification bits of the readiness messages (low word of the long parameter);
// the high word carries the error number.
inline constexpr std::uint32_t kFdRead = 1;
inline constexpr std::uint32_t kFdWrite = 2;
inline constexpr std::uint32_t kFdConnect = 16;
inline constexpr std::uint32_t kFdClose = 32;

inline constexpr std::uint16_t kSocketsVersion11 = 0x0101;

// Error numbers as the sockets library reports them.
enum SocketErrorNumber : int {
  kWsaEIntr = 10004,
  kWsaEBadF = 10009,
  kWsaEAcces = 10013,
  kWsaEFault = 10014,
  kWsaEInval = 10022,
  kWsaEMFile = 10024,
  kWsaEWouldBlock = 10035,
  kWsaEInProgress = 10036,
  kWsaEAlready = 10037,
  kWsaENotSock = 10038,
  kWsaEDestAddrReq = 10039,
  kWsaEMsgSize = 10040,
  kWsaEProtoType = 10041,
  kWsaENoProtoOpt = 10042,
  kWsaEProtoNoSupport = 10043,
  kWsaESocktNoSupport = 10044,
  kWsaEOpNotSupp = 10045,
  kWsaEPfNoSupport = 10046,
  kWsaEAfNoSupport = 10047,
  kWsaEAddrInUse = 10048,
  kWsaEAddrNotAvail = 10049,
  kWsaENetDown = 10050,
  kWsaENetUnreach = 10051,
  kWsaENetReset = 10052,
  kWsaEConnAborted = 10053,
  kWsaEConnReset = 10054,
  kWsaENoBufs = 10055,
  kWsaEIsConn = 10056,
  kWsaENotConn = 10057,
  kWsaEShutdown = 10058,
  kWsaETooManyRefs = 10059,
  kWsaETimedOut = 10060,
  kWsaEConnRefused = 10061,
  kWsaELoop = 10062,
  kWsaENameTooLong = 10063,
  kWsaEHostDown = 10064,
  kWsaEHostUnreach = 10065,
  kWsaENotEmpty = 10066,
  kWsaEProcLim = 10067,
  kWsaEUsers = 10068,
  kWsaEDQuot = 10069,
  kWsaEStale = 10070,
  kWsaERemote = 10071,
  kWsaSysNotReady = 10091,
  kWsaVerNotSupported = 10092,
  kWsaNotInitialised = 10093,
  kWsaHostNotFound = 11001,
  kWsaTryAgain = 11002,
  kWsaNoRecovery = 11003,
  kWsaNoData = 11004,
};

// IPv4 socket address, laid out as the sockets interface defines it (16 bytes).
struct SockAddrIn {
  std::uint16_t family = kAfInet;
  std::uint16_t port = 0;     // network byte order
  std::uint32_t address = 0;  // network byte order
  std::uint8_t zero[8] = {};
};
static_assert(sizeof(SockAddrIn) == 16);

// An IPv4 or IPv6 socket address: the family says whether the first 4 or
// all 16 of `bytes` count. Converts from the IPv4 record, so that code that
// knows only IPv4 keeps passing that.
struct SockAddr {
  SockAddr() = default;
  SockAddr(const SockAddrIn& in) : family(kAfInet), port(in.port) {
    std::memcpy(bytes.data(), &in.address, sizeof in.address);
  }

  int family = kAfInet;
  std::uint16_t port = 0;  // network byte order
  std::array<std::uint8_t, 16> bytes{};
  std::uint32_t scope = 0;  // IPv6 zone (interface index), 0 for none

  // The IPv4 address as the record holds it (network byte order).
  std::uint32_t Ipv4() const {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data(), sizeof v);
    return v;
  }
};

// Linger option value as the sockets interface defines it.
struct Linger {
  std::uint16_t onoff = 0;
  std::uint16_t seconds = 0;
};

// One call per sockets library function. Failures return kSocketError (or
// kInvalidSocket, false, kInaddrNone as noted) and leave the error number in
// LastError(). Virtual so that tests can stand in for the library.
class Sockets {
 public:
  virtual ~Sockets() = default;

  // Returns 0 or the error number, like the library's start-up.
  virtual int Startup(std::uint16_t version) = 0;
  virtual int Cleanup() = 0;

  virtual SocketHandle Socket(int family, int type, int protocol) = 0;
  virtual int SetSockOpt(SocketHandle s, int level, int option, const void* value, int length) = 0;
  // Asks for `message` at `window` with the bits of `mask` as readiness
  // changes; makes the socket non-blocking. A zero mask cancels.
  virtual int AsyncSelect(SocketHandle s, WindowId window, std::uint32_t message, std::uint32_t mask) = 0;
  virtual int Connect(SocketHandle s, const SockAddr& address) = 0;
  virtual int Send(SocketHandle s, const void* data, int length) = 0;
  virtual int SendTo(SocketHandle s, const void* data, int length, const SockAddr& to) = 0;
  virtual int Recv(SocketHandle s, void* buffer, int length) = 0;
  virtual int Shutdown(SocketHandle s, int how) = 0;
  virtual int CloseSocket(SocketHandle s) = 0;
  // The FIONREAD request: bytes that one receive call would return.
  virtual int PendingBytes(SocketHandle s, std::uint32_t& count) = 0;

  // Look-ups; false on failure. Ports and addresses come in network order.
  virtual bool ProtocolByName(const char* name, int& number) = 0;
  virtual bool ServiceByName(const char* name, const char* protocol, std::uint16_t& port) = 0;
  // Every address of a host name, IPv4 and IPv6, in the order to try them
  // (getaddrinfo); with `numeric_only` only an address literal is accepted
  // and nothing is asked of the network. Returns 0 or the error number;
  // safe to call from any thread.
  virtual int LookupAddresses(const char* name, bool numeric_only, std::vector<SockAddr>& found) = 0;
  // The same look-up of a name for a worker thread, which may still run
  // once this object is gone: the function holds nothing of it.
  using NameResolver = std::function<int(const std::string& name, std::vector<SockAddr>& found)>;
  virtual NameResolver Resolver() = 0;
  // Dotted IPv4 text to an address; kInaddrNone when it is not one.
  virtual std::uint32_t InetAddr(const char* text) = 0;

  // TCP keepalive on a stream socket: the first probe after `seconds` idle,
  // then one every `seconds`; 0 turns keepalive off.
  virtual int SetKeepAlive(SocketHandle s, int seconds) = 0;
  // What the system reports back: 0 when keepalive is off, else the idle
  // time in seconds, or -1 where the system keeps the time to itself.
  virtual int KeepAliveOf(SocketHandle s, int& seconds) = 0;

  virtual int LastError() = 0;
  virtual void SetLastError(int number) = 0;

  // Server side, used by test peers and tools (blocking).
  virtual int Bind(SocketHandle s, const SockAddr& address) = 0;
  virtual int Listen(SocketHandle s, int backlog) = 0;
  virtual SocketHandle Accept(SocketHandle s) = 0;
  virtual int LocalAddress(SocketHandle s, SockAddr& address) = 0;
};

// The platform's sockets library.
Sockets& SystemSockets();

// Byte order of the 16- and 32-bit fields of SockAddrIn (network = big endian).
constexpr std::uint16_t HostToNet16(std::uint16_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::uint16_t>((v >> 8) | (v << 8));
  }
  return v;
}
constexpr std::uint16_t NetToHost16(std::uint16_t v) { return HostToNet16(v); }

constexpr std::uint32_t HostToNet32(std::uint32_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    return (v >> 24) | ((v >> 8) & 0xff00u) | ((v << 8) & 0xff0000u) | (v << 24);
  }
  return v;
}
constexpr std::uint32_t NetToHost32(std::uint32_t v) { return HostToNet32(v); }

}  // namespace corvane::platform
