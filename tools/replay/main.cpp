// cvtelnet-replay: feeds a byte stream or capture file to a new terminal
// screen and prints the resulting screen.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "platform/diagnostics.h"
#include "platform/std_streams.h"
#include "tools/replay/png_picture.h"
#include "tools/replay/replay.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/replay_options.h"

namespace {

constexpr const char* kUsage =
    "usage: cvtelnet-replay [--emulation classic|xterm] [--rows N] [--cols N] [--xlat] [--auto-lf] [--auto-cr] "
    "[--charset UTF-8|Latin-1|CP437] [--raw] [--all-columns] [--attrs] [--png PICTURE] [FILE]";

int PrintUsage() {
  std::puts(kUsage);
  return std::fflush(stdout) == 0 ? 0 : 2;
}

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

}  // namespace

int main(int argc, char** argv) {
  // Standard error is unbuffered by default, and hostile input yields a
  // message for every other byte; the buffer is flushed at exit.
  std::setvbuf(stderr, nullptr, _IOFBF, kErrorBufferSize);
  std::string error;
  const auto options = corvane::ParseReplayOptions(argc, argv, error);
  if (!options) return Fail(error + "; " + kUsage);
  if (options->Help) return PrintUsage();
  const auto input = ReadInput(options->File, error);
  if (!input) return Fail(error);

  corvane::platform::SetDiagnosticSink(
      [](std::string_view piece) { std::fwrite(piece.data(), 1, piece.size(), stderr); });
  corvane::platform::SetAlertSink([] {});

  if (!options->Png.empty()) {
    error = corvane::WritePicture(*options, corvane::BytesToFeed(*input, options->Raw));
    return error.empty() ? 0 : Fail(error);
  }

  const std::string picture = corvane::Replay(*input, *options);
  std::fwrite(picture.data(), 1, picture.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : Fail("cannot write standard output");
}
