#pragma once
// The session tool's command line.
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "emulator/emulation.h"
#include "tools/session/named_keys.h"

namespace corvane {

// What is typed once the host is quiet: a text (--send) or a key (--key).
using TSessionInput = std::variant<std::string, TKeyPress>;

struct TSessionOptions {
  std::string Host, Port;
  int Seconds = 3;
  // The INI file: absolute when given, else the terminal's default name.
  std::optional<std::string> Ini;
  std::vector<TSessionInput> Inputs;
  // --emulation: takes the place of the section's Emulation.
  std::optional<TEmulation> Emulation;
  bool Help = false;  // --help: print the usage and end
};

// Parses argv[1..]; on a bad command line returns nothing and sets Error.
std::optional<TSessionOptions> ParseSessionOptions(int Argc, const char* const* Argv, std::string& Error);

extern const char* const kSessionUsage;

}  // namespace corvane
