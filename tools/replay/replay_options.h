#pragma once
// The replay tool's command line.
#include <optional>
#include <string>

#include "emulator/emulation.h"
#include "emulator/text_decoder.h"
#include "tools/replay/screen_dump.h"

namespace corvane {

struct TReplayOptions {
  TEmulation Emulation = TEmulation::Classic;
  int Rows = 25;
  int Cols = 80;
  bool Xlat = false;
  bool AutoLF = false;
  bool AutoCR = false;
  bool Raw = false;
  TCharset Charset = TCharset::Utf8;  // of the text fed to the Xterm screen
  TDumpOptions Dump;
  std::string File = "-";  // "-" is standard input
  std::string Png;         // write a picture here instead of printing the text
  bool Help = false;       // --help: print the usage and end
};

// Parses argv[1..]; on a bad command line returns nothing and sets Error.
std::optional<TReplayOptions> ParseReplayOptions(int Argc, const char* const* Argv, std::string& Error);

}  // namespace corvane
