#pragma once
// The program's command line: cvtelnet [--emulation NAME] [HOST [PORT]], or
// one argument in any form the address box takes (HOST:PORT, [IPV6]:PORT,
// telnet://HOST[:PORT]); --help and --version print and end the program.
#include <optional>
#include <string>
#include <vector>

#include "emulator/emulation.h"

namespace corvane {

struct TCommandLine {
  enum class TAction { Run, Help, Version, Fail };
  TAction Action = TAction::Run;
  std::string Host;   // empty: start without connecting
  std::string Port;   // empty: the terminal's own port
  std::string Error;  // one line, when the command line is bad
  // --emulation: takes the place of the settings' for this session.
  std::optional<TEmulation> Emulation = std::nullopt;
};

// Parses the arguments that follow the program's name.
TCommandLine ParseCommandLine(const std::vector<std::string>& Args);

// One line naming a port that is neither a number from 1 to 65535, written
// in digits alone, nor a service name; empty for a good port.
std::string PortError(const std::string& Port);

// The option that chooses the emulation, and the one line for a missing
// (empty) or unknown name after it.
constexpr const char* kEmulationOption = "--emulation";
std::string EmulationError(const std::string& Name);

std::string HelpText();
std::string VersionText();

// Exit status for a bad command line.
constexpr int kUsageExitStatus = 2;

}  // namespace corvane
