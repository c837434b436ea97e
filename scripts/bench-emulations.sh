#!/bin/sh
# Instructions per byte of the Xterm screen and of the peer library against
# the floor loop, on generated plain, SGR-heavy and full-screen-redraw text,
# counted by callgrind (repeatable whatever else the machine is doing).
set -eu
cd "$(dirname "$0")/.."
cmake --build --preset native --target peer_bench >/dev/null
program=build/native/bench/screen/peer_bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

instructions() {
  valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect='*Measured*' "$program" "$1" "$2" >/dev/null 2>&1
  callgrind_annotate "$out/cg" 2>/dev/null | sed -n 's/^ *\([0-9,]*\) .*PROGRAM TOTALS.*/\1/p' | tr -d ,
}

printf '%-7s %12s %12s %12s %8s %8s\n' stream floor xterm peer xterm/fl xterm/peer
for stream in plain sgr redraw; do
  floor=$(instructions floor "$stream")
  xterm=$(instructions xterm "$stream")
  peer=$(instructions peer "$stream")
  printf '%-7s %12s %12s %12s %8.2f %8.2f\n' "$stream" "$floor" "$xterm" "$peer" \
    "$(echo "$xterm / $floor" | bc -l)" "$(echo "$xterm / $peer" | bc -l)"
done
