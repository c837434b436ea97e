// cvtelnet-replay: feeds a byte stream or capture file to a new terminal
// screen and prints the resulting screen.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "emulator/screen.h"
#include "platform/diagnostics.h"
#include "platform/std_streams.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/replay_options.h"
#include "tools/replay/screen_dump.h"

namespace {

constexpr const char* kUsage =
    "usage: cvtelnet-replay [--rows N] [--cols N] [--xlat] [--auto-lf] [--auto-cr] [--raw] "
    "[--all-columns] [--attrs] [FILE]";

constexpr std::size_t kErrorBufferSize = 1 << 16;

int Fail(const std::string& Message) {
  std::fprintf(stderr, "cvtelnet-replay: %s\n", Message.c_str());
  return 2;
}

// Reads all of Stream; a read error (a directory, a device failure) is
// reported rather than taken as the end of the input.
bool ReadAll(std::FILE* Stream, std::string& Content) {
  char block[65536];
  std::size_t count;
  while ((count = std::fread(block, 1, sizeof block, Stream)) > 0) Content.append(block, count);
  return !std::ferror(Stream);
}

std::optional<std::string> ReadInput(const std::string& File, std::string& Error) {
  std::string content;
  if (File == "-") {
    corvane::platform::UseBinaryStandardInput();
    if (ReadAll(stdin, content)) return content;
    Error = std::string("cannot read standard input: ") + std::strerror(errno);
    return std::nullopt;
  }
  std::FILE* stream = std::fopen(File.c_str(), "rb");
  const bool read = stream != nullptr && ReadAll(stream, content);
  const int reason = errno;
  if (stream != nullptr) std::fclose(stream);
  if (read) return content;
  Error = "cannot read " + File + ": " + std::strerror(reason);
  return std::nullopt;
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
  // Standard error is unbuffered by default, and hostile input yields a
  // message for every other byte; the buffer is flushed at exit.
  std::setvbuf(stderr, nullptr, _IOFBF, kErrorBufferSize);
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
