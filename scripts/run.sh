#!/bin/sh
# Builds the program and runs it against the bundled demo host. Until the
# window exists, the client is the headless session: it connects, answers the
# negotiation, presses the up-arrow key and prints the screen it leaves.
# Give HOST [PORT] to connect somewhere else instead.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target cvtelnet-session cvtelnet-demo-host cvtelnet-replay

session=./build/native/tools/session/cvtelnet-session
if [ $# -ge 1 ]; then
  exec "$session" "$1" "${2:-23}" --seconds 10
fi

log=$(mktemp)
./build/native/tools/demo_host/cvtelnet-demo-host --port 0 >"$log" &
host_pid=$!
trap 'kill "$host_pid" 2>/dev/null; rm -f "$log"' EXIT INT TERM
port=""
for _ in 1 2 3 4 5 6 7 8 9 10; do
  port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log")
  [ -n "$port" ] && break
  sleep 0.2
done
[ -n "$port" ] || { echo "run.sh: the demo host did not start" >&2; exit 1; }
echo "Demo host on 127.0.0.1:$port; the session's screen follows."
"$session" 127.0.0.1 "$port" --seconds 3 --key Up
