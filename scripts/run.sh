#!/bin/sh
# Builds the program and runs it connected to the bundled demo host on this
# machine. With no display it runs under Xvfb for a few seconds instead,
# presses the up-arrow key, saves a screenshot of the window and prints its
# path (CVTELNET_SCREENSHOT chooses another). Give HOST [PORT] to connect
# somewhere else.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target cvtelnet cvtelnet-demo-host

program=./build/native/gui/qt/cvtelnet
host_pid=""
log=$(mktemp)
trap '[ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null; rm -f "$log"' EXIT INT TERM

if [ $# -ge 1 ]; then
  host=$1
  port=${2:-23}
else
  ./build/native/tools/demo_host/cvtelnet-demo-host --port 0 >"$log" &
  host_pid=$!
  port=""
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log")
    [ -n "$port" ] && break
    sleep 0.2
  done
  [ -n "$port" ] || { echo "run.sh: the demo host did not start" >&2; exit 1; }
  host=127.0.0.1
  echo "Demo host on 127.0.0.1:$port."
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$program" "$host" "$port"
  exit 0
fi

shot=${CVTELNET_SCREENSHOT:-$PWD/build/cvtelnet-screenshot.png}
echo "No display: running under Xvfb for a few seconds."
xvfb-run -a -s "-screen 0 1024x768x24" ./scripts/screenshot.sh "$shot" "$program" "$host" "$port"
echo "Screenshot: $shot"
