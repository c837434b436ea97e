// The replay tool's reading of a capture file and its picture of the screen.
// The first three bytes choose the rows, the columns and the switches; the
// rest is the file's content, with or without its "<Open>"/"<Close>" markers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/quiet_platform.h"
#include "tools/replay/replay.h"
#include "tools/replay/replay_input.h"

namespace {

constexpr std::size_t kHeader = 3;
constexpr std::size_t kPictureHeaderLines = 5;  // size, cursor, attr, region, modes

void Check(bool ok) {
  if (!ok) std::abort();
}

corvane::TReplayOptions Options(const std::uint8_t* header) {
  corvane::TReplayOptions options;
  options.Rows = 1 + header[0] % corvane::kMaxRows;
  options.Cols = 1 + header[1] % corvane::kMaxCols;
  const std::uint8_t bits = header[2];
  options.Xlat = bits & 1;
  options.AutoLF = bits & 2;
  options.AutoCR = bits & 4;
  options.Raw = bits & 8;
  options.Dump.AllColumns = bits & 16;
  options.Dump.Attrs = bits & 32;
  return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::fuzz::QuietPlatform();
  if (size < kHeader) return 0;
  const corvane::TReplayOptions options = Options(data);
  const std::string_view file(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

  // Removing markers never adds bytes; raw input passes unchanged.
  Check(corvane::BytesToFeed(file, options.Raw).size() <= file.size());
  Check(corvane::BytesToFeed(file, true) == file);

  // One line per row (two with attributes) after the header lines.
  const std::string picture = corvane::Replay(file, options);
  const auto lines = static_cast<std::size_t>(std::count(picture.begin(), picture.end(), '\n'));
  const std::size_t perRow = options.Dump.Attrs ? 2 : 1;
  Check(lines == kPictureHeaderLines + perRow * static_cast<std::size_t>(options.Rows));
  return 0;
}
