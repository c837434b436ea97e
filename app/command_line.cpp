#include "app/command_line.h"

#include <string_view>

#include "app/about_content.h"
#include "app/address.h"

namespace corvane {
namespace {

constexpr std::size_t kMaxServiceName = 32;

TCommandLine Failed(std::string error) {
  TCommandLine result;
  result.Action = TCommandLine::TAction::Fail;
  result.Error = std::move(error);
  return result;
}

// An argument inside a one-line message: control characters show as '?'.
std::string Quoted(std::string_view arg) {
  std::string text = "'";
  for (char ch : arg) text += static_cast<unsigned char>(ch) < ' ' || ch == 0x7F ? '?' : ch;
  return text + "'";
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

// A port number 1-65535 or a service name such as "telnet".
bool ValidPort(std::string_view port) {
  if (port.empty()) return false;
  if (IsDigit(port[0])) {
    if (port.size() > 5) return false;
    long value = 0;
    for (char ch : port) {
      if (!IsDigit(ch)) return false;
      value = value * 10 + (ch - '0');
    }
    return value >= 1 && value <= 65535;
  }
  if (!IsLetter(port[0]) || port.size() > kMaxServiceName) return false;
  for (char ch : port)
    if (!IsLetter(ch) && !IsDigit(ch) && ch != '-') return false;
  return true;
}

// Host names and addresses never hold blanks or control characters.
bool ValidHost(std::string_view host) {
  for (char ch : host)
    if (static_cast<unsigned char>(ch) <= ' ' || ch == 0x7F) return false;
  return true;
}

// One argument in any form the address box takes; blanks would split it.
TCommandLine FromAddress(std::string_view argument) {
  if (!ValidHost(argument)) return Failed("bad host name " + Quoted(argument));
  TAddress address = ParseAddress(argument);
  if (!address.Error.empty()) return Failed(std::move(address.Error));
  TCommandLine result;
  result.Host = std::move(address.Host);
  result.Port = std::move(address.Port);
  return result;
}

// The host written as the address box takes it ("[::1]" too), without a
// port of its own: the second argument is the port.
TCommandLine HostAndPort(std::string_view host, const std::string& port) {
  if (!port.empty() && !ValidPort(port)) return Failed(PortError(port));
  TCommandLine result = FromAddress(host);
  if (result.Action == TCommandLine::TAction::Fail) return result;
  if (!result.Port.empty()) return Failed("two ports given: " + Quoted(host) + " and " + Quoted(port));
  result.Port = port;
  return result;
}

TCommandLine HostAndPortOf(const std::vector<std::string>& positional) {
  if (positional.size() > 2) return Failed("too many arguments; give a host and at most a port");
  if (positional.empty()) return {};
  const std::string& first = positional[0];
  if (positional.size() == 1) return FromAddress(first);
  if (first.find("://") != std::string::npos) return Failed("a telnet:// address carries its own port");
  return HostAndPort(first, positional[1]);
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& Args) {
  std::vector<std::string> positional;
  std::optional<TEmulation> emulation;
  for (std::size_t i = 0; i < Args.size(); ++i) {
    const std::string& arg = Args[i];
    if (arg == "--help" || arg == "-h") {
      TCommandLine result;
      result.Action = TCommandLine::TAction::Help;
      return result;
    }
    if (arg == "--version") {
      TCommandLine result;
      result.Action = TCommandLine::TAction::Version;
      return result;
    }
    if (arg == kEmulationOption) {
      if (++i == Args.size()) return Failed(EmulationError(""));
      emulation = EmulationNamed(Args[i]);
      if (!emulation) return Failed(EmulationError(Args[i]));
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') return Failed("unknown option " + Quoted(arg));
    positional.push_back(arg);
  }
  TCommandLine result = HostAndPortOf(positional);
  if (result.Action == TCommandLine::TAction::Run) result.Emulation = emulation;
  return result;
}

std::string EmulationError(const std::string& Name) {
  if (Name.empty()) return std::string(kEmulationOption) + " needs xterm or classic";
  return "bad emulation " + Quoted(Name) + ": give xterm or classic";
}

std::string PortError(const std::string& Port) {
  return ValidPort(Port) ? std::string() : "bad port " + Quoted(Port) + ": give 1-65535 or a service name";
}

std::string HelpText() {
  return "usage: cvtelnet [--emulation xterm|classic] [HOST [PORT]]\n"
         "       cvtelnet [--emulation xterm|classic] HOST:PORT|[IPV6-ADDRESS]:PORT|telnet://HOST[:PORT]\n"
         "Opens the Corvane Telnet window and, given a host, connects to its telnet\n"
         "service (port 23 unless PORT names a number from 1 to 65535 or a service).\n"
         "  --emulation xterm    the terminal a Linux host expects (TERM=xterm)\n"
         "  --emulation classic  the classic terminal; either replaces the settings' choice\n"
         "  --help               print this text and exit\n"
         "  --version            print the version and exit\n";
}

std::string VersionText() { return std::string(kProductName) + " " + kVersionNumber + " (" + kCommentsText + ")\n"; }

}  // namespace corvane
