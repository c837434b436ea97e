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
#include "tools/replay/png_picture.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/replay_options.h"
#include "tools/replay/screen_dump.h"

namespace {

constexpr const char* kUsage =
    "usage: cvtelnet-replay [--rows N] [--cols N] [--xlat] [--auto-lf] [--auto-cr] [--raw] "
    "[--all-columns] [--attrs] [--png PICTURE] [FILE]";

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
  std::string error;
  const auto options = corvane::ParseReplayOptions(argc, argv, error);
  if (!options) return Fail(error + "; " + kUsage);
  const auto input = ReadInput(options->File, error);
  if (!input) return Fail(error);

  corvane::platform::SetDiagnosticSink(
      [](std::string_view piece) { std::fwrite(piece.data(), 1, piece.size(), stderr); });
  corvane::platform::SetAlertSink([] {});

  const std::string feed = corvane::BytesToFeed(*input, options->Raw);
  if (!options->Png.empty()) {
    error = corvane::WritePicture(*options, feed);
    return error.empty() ? 0 : Fail(error);
  }

  corvane::TScreen screen;
  corvane::PrepareScreen(screen, *options);
  screen.FeedText(feed);

  const std::string picture = corvane::DumpScreen(screen, options->Dump);
  std::fwrite(picture.data(), 1, picture.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : Fail("cannot write standard output");
}
