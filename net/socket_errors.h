#pragma once
// Sockets error numbers to English texts, and the one exception class of the
// socket layer.
#include <stdexcept>
#include <string>

namespace corvane {

class ESocketException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text for a sockets error number; "Not a WinSock error" when unknown.
std::string SocketErrorDesc(int number);

// "Error <number> in function <operation>\r\n<text>": the message that
// TWSocket::SocketError raises.
std::string SocketErrorMessage(int number, const std::string& operation);

}  // namespace corvane
