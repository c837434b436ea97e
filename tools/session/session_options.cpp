#include "tools/session/session_options.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/command_line.h"
#include "tools/session/text_escapes.h"

namespace corvane {

const char* const kSessionUsage =
    "usage: cvtelnet-session HOST PORT [--seconds N] [--ini FILE] [--emulation NAME] [--send TEXT]...\n"
    "                        [--key NAME]...\n"
    "       cvtelnet-session --help\n"
    "  PORT         a number from 1 to 65535 or a service name such as telnet\n"
    "  --seconds N  how long the session lasts at most (default 3)\n"
    "  --ini FILE   the INI file whose section HOST holds the terminal settings\n"
    "               (default TNZUZERI.INI in the current directory, then in\n"
    "               $XDG_CONFIG_HOME/cvtelnet/ or ~/.config/cvtelnet/)\n"
    "  --emulation NAME  xterm or classic, in place of the section's Emulation\n"
    "  --send TEXT  text to type once the host has been quiet for 300 ms;\n"
    "               escapes \\r \\n \\t \\e \\\\ \\xHH; may be repeated\n"
    "  --key NAME   a key to press, in turn with the texts; may be repeated;\n"
    "               Shift+ and Ctrl+ may precede the name\n";

namespace {

std::string Check(const std::string& option, const char* value, TSessionOptions& options) {
  if (option == "--seconds") {
    char* end = nullptr;
    const long seconds = std::strtol(value, &end, 10);
    if (*value == '\0' || *end != '\0' || seconds < 1 || seconds > 3600) return "--seconds wants 1 to 3600";
    options.Seconds = static_cast<int>(seconds);
  } else if (option == "--send") {
    auto text = Unescape(value);
    if (!text) return std::string("bad escape in '") + value + "'";
    options.Inputs.emplace_back(*text);
  } else if (option == "--key") {
    auto press = ParseKeyName(value);
    if (!press) return std::string("unknown key '") + value + "'; known keys: " + KnownKeyNames();
    options.Inputs.emplace_back(*press);
  } else if (option == kEmulationOption) {
    options.Emulation = EmulationNamed(value);
    if (!options.Emulation) return EmulationError(value);
  } else if (option == "--ini") {
    std::error_code error;
    if (!std::filesystem::is_regular_file(value, error) || !std::ifstream(value))
      return std::string("cannot read the INI file '") + value + "'";
    // Absolute, so that no platform looks the name up elsewhere.
    options.Ini = std::filesystem::absolute(value).string();
  } else {
    return "unknown option " + option;
  }
  return {};
}

}  // namespace

std::optional<TSessionOptions> ParseSessionOptions(int Argc, const char* const* Argv, std::string& Error) {
  TSessionOptions options;
  std::vector<std::string> positional;
  for (int i = 1; i < Argc; ++i) {
    const std::string arg = Argv[i];
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
      return options;
    }
    if (arg.rfind("--", 0) != 0) {
      positional.push_back(arg);
      continue;
    }
    if (i + 1 >= Argc) Error = "option " + arg + " needs a value";
    if (Error.empty()) Error = Check(arg, Argv[++i], options);
    if (!Error.empty()) return std::nullopt;
  }
  if (positional.size() != 2) {
    Error = "HOST and PORT are needed";
    return std::nullopt;
  }
  Error = PortError(positional[1]);
  if (!Error.empty()) return std::nullopt;
  options.Host = positional[0];
  options.Port = positional[1];
  return options;
}

}  // namespace corvane
