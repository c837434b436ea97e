// The Linux program's start-up: time to the terminal's first paint and the
// resident memory then. Run it a few times; the first run also pays for cold
// caches.
#include "bench/gui/startup_probe.h"

int main(int, char** argv) { return corvane::bench::RunStartupProbe(argv[0]); }
