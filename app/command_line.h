#pragma once
// The program's command line: cvtelnet [HOST [PORT]], or cvtelnet
// telnet://HOST[:PORT]; --help and --version print and end the program.
#include <string>
#include <vector>

namespace corvane {

struct TCommandLine {
  enum class TAction { Run, Help, Version, Fail };
  TAction Action = TAction::Run;
  std::string Host;   // empty: start without connecting
  std::string Port;   // empty: the terminal's own port
  std::string Error;  // one line, when the command line is bad
};

// Parses the arguments that follow the program's name.
TCommandLine ParseCommandLine(const std::vector<std::string>& Args);

// One line naming a port that is neither a number from 1 to 65535, written
// in digits alone, nor a service name; empty for a good port.
std::string PortError(const std::string& Port);

std::string HelpText();
std::string VersionText();

// Exit status for a bad command line.
constexpr int kUsageExitStatus = 2;

}  // namespace corvane
