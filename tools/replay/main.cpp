// cvtelnet-replay: feeds a byte stream or capture file to a new terminal
// screen and prints the resulting screen.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "emulator/screen.h"
#include "platform/diagnostics.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/replay_options.h"
#include "tools/replay/screen_dump.h"

namespace {

constexpr const char* kUsage =
    "usage: cvtelnet-replay [--rows N] [--cols N] [--xlat] [--auto-lf] [--auto-cr] [--raw] "
    "[--all-columns] [--attrs] [FILE]";

int Fail(const std::string& Message) {
  std::fprintf(stderr, "cvtelnet-replay: %s\n", Message.c_str());
  return 2;
}

std::optional<std::string> ReadInput(const std::string& File, std::string& Error) {
  std::ostringstream content;
  if (File == "-") {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);  // capture files hold CR, LF and 0x1A as data
#endif
    content << std::cin.rdbuf();
    if (std::cin.bad()) {
      Error = "cannot read standard input";
      return std::nullopt;
    }
    return content.str();
  }
  std::ifstream in(File, std::ios::binary);
  if (in) content << in.rdbuf();
  if (!in || in.bad()) {
    Error = "cannot read " + File + ": " + std::strerror(errno);
    return std::nullopt;
  }
  return content.str();
}

// The screen as the telnet terminal leaves it after connecting with the
// given settings: cleared, cursor home, received text translated unless Xlat.
void Prepare(corvane::TScreen& Screen, const corvane::TReplayOptions& Options) {
  Screen.SetRows(Options.Rows);
  Screen.SetCols(Options.Cols);
  Screen.AutoLF = Options.AutoLF;
  Screen.AutoCR = Options.AutoCR;
  Screen.XlatIn = !Options.Xlat;
  Screen.XlatDefault = !Options.Xlat;
  Screen.ClearScreen();
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = corvane::ParseReplayOptions(argc, argv, error);
  if (!options) return Fail(error + "; " + kUsage);
  const auto input = ReadInput(options->File, error);
  if (!input) return Fail(error);

  corvane::platform::SetDiagnosticSink(
      [](std::string_view piece) { std::fwrite(piece.data(), 1, piece.size(), stderr); });
  corvane::platform::SetAlertSink([] {});

  corvane::TScreen screen;
  Prepare(screen, *options);
  screen.FeedText(corvane::BytesToFeed(*input, options->Raw));

  const std::string picture = corvane::DumpScreen(screen, options->Dump);
  std::fwrite(picture.data(), 1, picture.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : Fail("cannot write standard output");
}
