// The Linux program's window under a stream of received text, for
// scripts/bench-window.sh: window_bench DUMP-FILE HOST PORT.
#include <cstdio>

#include "bench/gui/window_probe.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: window_bench DUMP-FILE HOST PORT\n");
    return 2;
  }
  return corvane::bench::RunWindowProbe(argv[0], argv[2], argv[3], argv[1]);
}
