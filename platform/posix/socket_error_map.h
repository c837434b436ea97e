#pragma once
// errno and resolver codes to the sockets library's error numbers.

namespace corvane::platform::posix {

int SocketErrorFromErrno(int error);
int SocketErrorFromResolver(int gai_error);

}  // namespace corvane::platform::posix
