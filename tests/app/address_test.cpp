#include "app/address.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// Each text, the host and port it gives, and how FormatAddress writes them.
struct TCase {
  const char* Text;
  const char* Host;
  const char* Port;
  const char* Formatted;
};

TEST(AddressTest, EachFormGivesItsHostAndPortAndIsWrittenBackAsTyped) {
  const TCase cases[] = {
      {"", "", "", ""},
      {"  \t", "", "", ""},
      {"bbs.example.org", "bbs.example.org", "", "bbs.example.org"},
      {" host ", "host", "", "host"},
      {"127.0.0.1:2425", "127.0.0.1", "2425", "127.0.0.1:2425"},
      {"127.0.0.1 2425", "127.0.0.1", "2425", "127.0.0.1:2425"},
      {"host \t telnet", "host", "telnet", "host:telnet"},
      {"::1", "::1", "", "::1"},
      {"fe80::1%eth0", "fe80::1%eth0", "", "fe80::1%eth0"},
      {"[fe80::1%eth0]:23", "fe80::1%eth0", "23", "[fe80::1%eth0]:23"},
      {"[::1]", "::1", "", "::1"},
      {"[::1]:2323", "::1", "2323", "[::1]:2323"},
      {"[2001:db8::7] 23", "2001:db8::7", "23", "[2001:db8::7]:23"},
      {"telnet://host", "host", "", "host"},
      {"TELNET://host:65535/", "host", "65535", "host:65535"},
      {"telnet://[::1]:2323/", "::1", "2323", "[::1]:2323"},
      {"telnet://::1", "::1", "", "::1"},
      {"[a:b]", "a:b", "", "[a:b]"},
      {"[[a]:23", "[a", "23", "[[a]:23"},
      {"a]:b:c 23", "a]:b:c", "23", "a]:b:c 23"},
  };
  for (const TCase& c : cases) {
    const TAddress address = ParseAddress(c.Text);
    EXPECT_EQ(address.Host, c.Host) << c.Text;
    EXPECT_EQ(address.Port, c.Port) << c.Text;
    EXPECT_EQ(address.Error, "") << c.Text;
    EXPECT_EQ(FormatAddress(c.Host, c.Port), c.Formatted) << c.Text;
    const TAddress again = ParseAddress(c.Formatted);
    EXPECT_EQ(again.Host + " " + again.Port + again.Error, address.Host + " " + address.Port) << c.Formatted;
  }
}

TEST(AddressTest, BadTextGetsOneLineSayingWhy) {
  const std::pair<const char*, const char*> cases[] = {
      {"host:", "the address 'host:' has an empty port"},
      {":23", "the address ':23' names no host"},
      {"host:0", "bad port '0': give 1-65535 or a service name"},
      {"host 65536", "bad port '65536': give 1-65535 or a service name"},
      {"host:23x", "bad port '23x': give 1-65535 or a service name"},
      {"[::1]:", "the address '[::1]:' has an empty port"},
      {"[::1]x", "the address '[::1]x' has 'x' after ']'"},
      {"[::1]:23:24", "bad port '23:24': give 1-65535 or a service name"},
      {"[::1", "the address '[::1' has no ']' after its '['"},
      {"[]:23", "the address '[]:23' names no host"},
      {"a b c", "the address 'a b c' has more than a host and a port"},
      {"host:23 24", "the address 'host:23 24' has two ports"},
      {"telnet://", "the address 'telnet://' names no host"},
      {"telnet://h/x", "the address 'telnet://h/x' has a path"},
      {"telnet://h 23", "the address 'telnet://h 23' holds a blank"},
      {"ssh://host", "only telnet:// addresses can be opened, not 'ssh://host'"},
      {"host\x01", "bad host name 'host?'"},
  };
  for (const auto& [text, error] : cases) {
    const TAddress address = ParseAddress(text);
    EXPECT_EQ(address.Error, error) << text;
    EXPECT_EQ(address.Host + address.Port, "") << text;
  }
}

}  // namespace
}  // namespace corvane
