#pragma once
// The replay tool's command line.
#include <optional>
#include <string>

#include "tools/replay/screen_dump.h"

namespace corvane {

struct TReplayOptions {
  int Rows = 25;
  int Cols = 80;
  bool Xlat = false;
  bool AutoLF = false;
  bool AutoCR = false;
  bool Raw = false;
  TDumpOptions Dump;
  std::string File = "-";  // "-" is standard input
  std::string Png;         // write a picture here instead of printing the text
  bool Help = false;       // --help: print the usage and end
};

// Parses argv[1..]; on a bad command line returns nothing and sets Error.
std::optional<TReplayOptions> ParseReplayOptions(int Argc, const char* const* Argv, std::string& Error);

}  // namespace corvane
