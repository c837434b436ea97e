#!/bin/sh
# Builds the program and runs it. Until the window exists, this replays the
# bundled sample session through the terminal model and prints the screen.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target cvtelnet-replay
exec ./build/native/tools/replay/cvtelnet-replay samples/welcome.log
