#include "net/socket_errors.h"

#include <gtest/gtest.h>

#include <cerrno>

#ifndef _WIN32
#include "platform/posix/socket_error_map.h"
#endif

namespace corvane {
namespace {

TEST(SocketErrorDescTest, KnownNumbersGiveTheirTexts) {
  EXPECT_EQ(SocketErrorDesc(0), "No Error");
  EXPECT_EQ(SocketErrorDesc(10004), "Interrupted system call");
  EXPECT_EQ(SocketErrorDesc(10035), "Operation would block");
  EXPECT_EQ(SocketErrorDesc(10059), "Too many references: can't splice");
  EXPECT_EQ(SocketErrorDesc(10061), "Connection refused");
  EXPECT_EQ(SocketErrorDesc(10093), "WinSock not initialized");
  EXPECT_EQ(SocketErrorDesc(11004), "No Data");
}

TEST(SocketErrorDescTest, NumbersOutsideTheTableAreNotWinSockErrors) {
  for (int n : {-1, 1, 10000, 10001, 10072, 10090, 11000, 11005, 65535}) {
    EXPECT_EQ(SocketErrorDesc(n), "Not a WinSock error") << n;
  }
}

TEST(SocketErrorMessageTest, NamesNumberOperationAndText) {
  EXPECT_EQ(SocketErrorMessage(10057, "Send"), "Error 10057 in function Send\r\nSocket is not connected");
  EXPECT_EQ(SocketErrorMessage(4, "x"), "Error 4 in function x\r\nNot a WinSock error");
}

#ifndef _WIN32
TEST(SocketErrorMapTest, SystemErrorsBecomeSocketsLibraryNumbers) {
  using platform::posix::SocketErrorFromErrno;
  EXPECT_EQ(SocketErrorFromErrno(0), 0);
  EXPECT_EQ(SocketErrorFromErrno(EWOULDBLOCK), 10035);
  EXPECT_EQ(SocketErrorFromErrno(EAGAIN), 10035);
  EXPECT_EQ(SocketErrorFromErrno(EINPROGRESS), 10035);
  EXPECT_EQ(SocketErrorFromErrno(ECONNREFUSED), 10061);
  EXPECT_EQ(SocketErrorFromErrno(ECONNRESET), 10054);
  EXPECT_EQ(SocketErrorFromErrno(EPIPE), 10054);
  EXPECT_EQ(SocketErrorFromErrno(ENOTCONN), 10057);
  EXPECT_EQ(SocketErrorFromErrno(EBADF), 10038);
  EXPECT_EQ(SocketErrorFromErrno(ETIMEDOUT), 10060);
  EXPECT_EQ(SocketErrorFromErrno(EIO), 10022);  // unmapped: a defined number
}
#endif

}  // namespace
}  // namespace corvane
