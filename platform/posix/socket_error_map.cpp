#include "platform/posix/socket_error_map.h"

#include <netdb.h>

#include <cerrno>

#include "platform/sockets.h"

namespace corvane::platform::posix {
namespace {

struct ErrnoMapping {
  int error;
  int number;
};

// A bad handle is reported as a non-socket, as the sockets library does.
constexpr ErrnoMapping kErrnoMap[] = {
    {EINTR, kWsaEIntr},
    {EBADF, kWsaENotSock},
    {EACCES, kWsaEAcces},
    {EPERM, kWsaEAcces},
    {EFAULT, kWsaEFault},
    {EINVAL, kWsaEInval},
    {EMFILE, kWsaEMFile},
    {ENFILE, kWsaEMFile},
    {EWOULDBLOCK, kWsaEWouldBlock},
    {EAGAIN, kWsaEWouldBlock},
    {EINPROGRESS, kWsaEWouldBlock},
    {EALREADY, kWsaEAlready},
    {ENOTSOCK, kWsaENotSock},
    {EDESTADDRREQ, kWsaEDestAddrReq},
    {EMSGSIZE, kWsaEMsgSize},
    {EPROTOTYPE, kWsaEProtoType},
    {ENOPROTOOPT, kWsaENoProtoOpt},
    {EPROTONOSUPPORT, kWsaEProtoNoSupport},
    {ESOCKTNOSUPPORT, kWsaESocktNoSupport},
    {EOPNOTSUPP, kWsaEOpNotSupp},
    {EPFNOSUPPORT, kWsaEPfNoSupport},
    {EAFNOSUPPORT, kWsaEAfNoSupport},
    {EADDRINUSE, kWsaEAddrInUse},
    {EADDRNOTAVAIL, kWsaEAddrNotAvail},
    {ENETDOWN, kWsaENetDown},
    {ENETUNREACH, kWsaENetUnreach},
    {ENETRESET, kWsaENetReset},
    {ECONNABORTED, kWsaEConnAborted},
    {ECONNRESET, kWsaEConnReset},
    // Writing to a connection the peer has dropped.
    {EPIPE, kWsaEConnReset},
    {ENOBUFS, kWsaENoBufs},
    {ENOMEM, kWsaENoBufs},
    {EISCONN, kWsaEIsConn},
    {ENOTCONN, kWsaENotConn},
    {ESHUTDOWN, kWsaEShutdown},
    {ETOOMANYREFS, kWsaETooManyRefs},
    {ETIMEDOUT, kWsaETimedOut},
    {ECONNREFUSED, kWsaEConnRefused},
    {ELOOP, kWsaELoop},
    {ENAMETOOLONG, kWsaENameTooLong},
    {EHOSTDOWN, kWsaEHostDown},
    {EHOSTUNREACH, kWsaEHostUnreach},
    {ENOTEMPTY, kWsaENotEmpty},
    {EUSERS, kWsaEUsers},
    {EDQUOT, kWsaEDQuot},
    {ESTALE, kWsaEStale},
    {EREMOTE, kWsaERemote},
};

}  // namespace

int SocketErrorFromErrno(int error) {
  if (error == 0) return 0;
  for (const auto& m : kErrnoMap) {
    if (m.error == error) return m.number;
  }
  return kWsaEInval;
}

int SocketErrorFromResolver(int gai_error) {
  switch (gai_error) {
    case 0:
      return 0;
    case EAI_AGAIN:
      return kWsaTryAgain;
    case EAI_FAIL:
      return kWsaNoRecovery;
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
      return kWsaNoData;
    case EAI_SYSTEM:
      return SocketErrorFromErrno(errno);
    default:
      return kWsaHostNotFound;
  }
}

}  // namespace corvane::platform::posix
