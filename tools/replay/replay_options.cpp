#include "tools/replay/replay_options.h"

#include <string_view>

#include "emulator/screen.h"
#include "emulator/xterm_screen.h"

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

// The options that take a value, as they were given.
struct TValues {
  std::optional<std::string_view> Rows, Cols, Emulation, Charset, Png;

  std::optional<std::string_view>* For(std::string_view Arg) {
    if (Arg == "--rows") return &Rows;
    if (Arg == "--cols") return &Cols;
    if (Arg == "--emulation") return &Emulation;
    if (Arg == "--charset") return &Charset;
    if (Arg == "--png") return &Png;
    return nullptr;
  }
};

std::string SizeError(std::string_view Option, int High) {
  return std::string(Option) + " needs a number from 1 to " + std::to_string(High);
}

// The values are checked once all are known: the limits of the size depend
// on the emulation, wherever it stands.
std::string ApplyValues(const TValues& Values, TReplayOptions& Options) {
  if (Values.Emulation) {
    const auto emulation = EmulationNamed(*Values.Emulation);
    if (!emulation) return "--emulation needs xterm or classic";
    Options.Emulation = *emulation;
  }
  const bool xterm = Options.Emulation == TEmulation::Xterm;
  const int maxRows = xterm ? kXtermMaxRows : kMaxRows;
  const int maxCols = xterm ? kXtermMaxCols : kMaxCols;
  if (Values.Rows && !(Options.Rows = ParseBounded(*Values.Rows, 1, maxRows).value_or(0)))
    return SizeError("--rows", maxRows);
  if (Values.Cols && !(Options.Cols = ParseBounded(*Values.Cols, 1, maxCols).value_or(0)))
    return SizeError("--cols", maxCols);
  if (Values.Charset) {
    const auto charset = CharsetNamed(*Values.Charset);
    if (!charset) return "--charset needs UTF-8, Latin-1 or CP437";
    if (!xterm) return "--charset is for --emulation xterm";
    Options.Charset = *charset;
  }
  if (Values.Png && Values.Png->empty()) return "--png needs a file name";
  if (Values.Png) Options.Png = std::string(*Values.Png);
  if (xterm && (Options.Xlat || Options.AutoLF || Options.AutoCR || Options.Dump.AllColumns))
    return "--xlat, --auto-lf, --auto-cr and --all-columns are for the classic screen only";
  return {};
}

}  // namespace

std::optional<TReplayOptions> ParseReplayOptions(int Argc, const char* const* Argv, std::string& Error) {
  TReplayOptions options;
  TValues values;
  bool haveFile = false;
  for (int i = 1; i < Argc; ++i) {
    const std::string_view arg = Argv[i];
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
      return options;
    }
    if (bool* flag = FlagFor(options, arg)) {
      *flag = true;
    } else if (auto* value = values.For(arg)) {
      if (i + 1 >= Argc) {
        Error = std::string(arg) + " needs a value";
        return std::nullopt;
      }
      *value = Argv[++i];
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
  Error = ApplyValues(values, options);
  if (!Error.empty()) return std::nullopt;
  return options;
}

}  // namespace corvane
