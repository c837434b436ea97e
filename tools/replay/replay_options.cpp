#include "tools/replay/replay_options.h"

#include <string_view>

namespace corvane {
namespace {

// A decimal number within Low..High, or nothing.
std::optional<int> ParseBounded(std::string_view Text, int Low, int High) {
  if (Text.empty() || Text.size() > 4) return std::nullopt;
  int value = 0;
  for (char ch : Text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
  }
  if (value < Low || value > High) return std::nullopt;
  return value;
}

bool* FlagFor(TReplayOptions& Options, std::string_view Arg) {
  if (Arg == "--xlat") return &Options.Xlat;
  if (Arg == "--auto-lf") return &Options.AutoLF;
  if (Arg == "--auto-cr") return &Options.AutoCR;
  if (Arg == "--raw") return &Options.Raw;
  if (Arg == "--all-columns") return &Options.Dump.AllColumns;
  if (Arg == "--attrs") return &Options.Dump.Attrs;
  return nullptr;
}

}  // namespace

std::optional<TReplayOptions> ParseReplayOptions(int Argc, const char* const* Argv, std::string& Error) {
  TReplayOptions options;
  bool haveFile = false;
  for (int i = 1; i < Argc; ++i) {
    const std::string_view arg = Argv[i];
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
      return options;
    }
    if (bool* flag = FlagFor(options, arg)) {
      *flag = true;
    } else if (arg == "--rows" || arg == "--cols") {
      const bool rows = arg == "--rows";
      const auto value = i + 1 < Argc ? ParseBounded(Argv[i + 1], 1, rows ? kMaxRows : kMaxCols) : std::nullopt;
      if (!value) {
        Error = std::string(arg) + (rows ? " needs a number from 1 to 50" : " needs a number from 1 to 132");
        return std::nullopt;
      }
      (rows ? options.Rows : options.Cols) = *value;
      ++i;
    } else if (arg == "--png") {
      if (i + 1 >= Argc || std::string_view(Argv[i + 1]).empty()) {
        Error = "--png needs a file name";
        return std::nullopt;
      }
      options.Png = Argv[++i];
    } else if (arg.starts_with("--") || (arg.starts_with("-") && arg != "-")) {
      Error = "unknown option " + std::string(arg);
      return std::nullopt;
    } else if (haveFile) {
      Error = "only one input file may be given";
      return std::nullopt;
    } else {
      options.File = std::string(arg);
      haveFile = true;
    }
  }
  return options;
}

}  // namespace corvane
