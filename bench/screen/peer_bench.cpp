// One emulation fed one generated stream, for instruction counts under
// callgrind (scripts/bench-emulations.sh): the floor loop, the Xterm screen,
// or the peer library the issue of speed is measured against.
//
//   peer_bench floor|xterm|peer plain|sgr|redraw
#include <vterm.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "bench/screen/floor_grid.h"
#include "bench/screen/streams.h"
#include "emulator/xterm_screen.h"

namespace {

using namespace corvane;

constexpr std::size_t kRead = 64 * 1024;  // fed in the reads a connection makes

[[gnu::noinline]] void MeasuredFloor(const std::string& Stream) {
  static bench::TFloorGrid grid;
  grid.Feed(Stream);
}

[[gnu::noinline]] void MeasuredXterm(TXtermScreen& Screen, std::string_view Stream) {
  for (std::size_t at = 0; at < Stream.size(); at += kRead) Screen.Feed(Stream.substr(at, kRead));
}

[[gnu::noinline]] void MeasuredPeer(VTerm* Term, std::string_view Stream) {
  for (std::size_t at = 0; at < Stream.size(); at += kRead) {
    const std::string_view read = Stream.substr(at, kRead);
    vterm_input_write(Term, read.data(), read.size());
  }
}

std::string StreamNamed(std::string_view Name) {
  if (Name == "plain") return bench::PlainTextStream();
  if (Name == "sgr") return bench::SgrStream();
  if (Name == "redraw") return bench::RedrawStream();
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view emulation = argc > 1 ? argv[1] : "";
  const std::string stream = StreamNamed(argc > 2 ? argv[2] : "");
  if (stream.empty() || (emulation != "floor" && emulation != "xterm" && emulation != "peer")) {
    std::fprintf(stderr, "usage: peer_bench floor|xterm|peer plain|sgr|redraw\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  if (emulation == "floor") {
    MeasuredFloor(stream);
  } else if (emulation == "xterm") {
    TXtermScreen screen(25, 80);
    MeasuredXterm(screen, stream);
  } else {
    VTerm* term = vterm_new(25, 80);
    vterm_set_utf8(term, 1);
    VTermScreen* screen = vterm_obtain_screen(term);
    vterm_screen_reset(screen, 1);
    MeasuredPeer(term, stream);
    vterm_free(term);
  }
  const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
  std::printf("%s %s: %zu bytes, %.2f ns/byte\n", argv[1], argv[2], stream.size(),
              took.count() / double(stream.size()));
  return 0;
}
