#pragma once
// What the user types in the address box: "host", "host:port", "host port",
// "[v6-address]:port" or "telnet://host[:port][/]". A bare IPv6 literal such
// as "::1" is a host, since more than one colon cannot be host:port.
#include <string>
#include <string_view>

namespace corvane {

struct TAddress {
  std::string Host;   // empty: nothing to connect to
  std::string Port;   // empty: the default port
  std::string Error;  // one line when the text is not an address
};

TAddress ParseAddress(std::string_view Text);

// The address as a user would type it: "host" without a port, "host:port"
// with one, and "[v6-address]:port" when the host holds colons. ParseAddress
// reads back every host and port it gives.
std::string FormatAddress(std::string_view Host, std::string_view Port);

}  // namespace corvane
