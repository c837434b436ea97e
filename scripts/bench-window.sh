#!/bin/sh
# The program's window against urxvt running telnet, under plain, SGR-heavy
# and full-screen-redraw text streamed from a local host, interleaved in one
# run: CPU seconds per MiB received (start-up taken off by a run with no
# text) and, for the window, paints per second while the text streams. Each
# window run's final screen must equal what cvtelnet-replay makes of the same
# bytes. Runs on $DISPLAY, or on an Xvfb of its own when there is none.
#   bench-window.sh [MIB [ROUNDS]]
set -eu
cd "$(dirname "$0")/.."
mib=${1:-4}
rounds=${2:-2}
cmake --build --preset native --target window_bench stream_host cvtelnet-replay >/dev/null
bin=build/native
out=$(mktemp -d)
[ -z "${KEEP:-}" ] || echo "bench-window: files in $out" >&2
pids=""
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done; [ -n "${KEEP:-}" ] || rm -rf "$out"' EXIT

# A display of its own, whose number the server picks among the free ones.
if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 1 -screen 0 1600x1200x24 -nolisten tcp >"$out/display" 2>/dev/null &
  pids="$pids $!"
  for _ in $(seq 50); do [ -s "$out/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$out/display")"
fi

# Runs a command and prints "cpu SECONDS" of it and its children once it ends.
cpu_of() {
  python3 -c '
import os, sys
pid = os.fork()
if pid == 0:
    os.execvp(sys.argv[1], sys.argv[1:])
_, status, usage = os.wait4(pid, 0)
print("cpu %.3f" % (usage.ru_utime + usage.ru_stime))
sys.exit(0 if status == 0 else 1)' timeout 600 "$@"
}

# host STREAM: starts a host serving STREAM; sets $port, saves the bytes in $out/STREAM.bytes.
# The last host's port file goes first: the new host's shell truncates it only
# once it runs, and a loaded machine may take seconds to build a stream.
host() {
  rm -f "$out/port"
  "$bin/bench/gui/stream_host" "$1" "$mib" "$out/$1.bytes" >"$out/port" &
  pids="$pids $!"
  host_pid=$!
  for _ in $(seq 300); do [ -s "$out/port" ] && break; sleep 0.1; done
  port=$(head -n 1 "$out/port")
  [ -n "$port" ] || { echo "bench-window: the $1 host did not start" >&2; exit 1; }
}

# The text that the window shows around the host's bytes: the status lines.
replay_check() {
  stream=$1
  rows=$2
  cols=$3
  {
    printf "Connecting to '127.0.0.1'\r\n\030\017\033(BConnected\r\n"
    cat "$out/$stream.bytes"
    printf '\030\017\033(B\r\n*** Server has closed ***\r\n'
  } >"$out/replay.in"
  "$bin/tools/replay/cvtelnet-replay" --emulation xterm --rows "$rows" --cols "$cols" "$out/replay.in" >"$out/expected"
  if ! cmp -s "$out/expected" "$out/dump"; then
    echo "bench-window: $stream: the window's final screen differs from cvtelnet-replay's" >&2
    diff "$out/expected" "$out/dump" | head -n 20 >&2
    exit 1
  fi
}

ours() {
  host "$1"
  cpu_of "$bin/bench/gui/window_bench" "$out/dump" 127.0.0.1 "$port" >"$out/ours"
  kill "$host_pid"
  wait "$host_pid" 2>/dev/null || true
  set -- "$1" $(cat "$out/ours")
  [ "$1" = none ] || replay_check "$1" "${11}" "${13}"
  echo "$1 ours cpu ${15} paints ${7} seconds ${5}" >>"$out/results"
}

peer() {
  host "$1"
  cpu_of urxvt -geometry 80x25 -fn "xft:DejaVu Sans Mono:pixelsize=16" -e telnet 127.0.0.1 "$port" >"$out/peer"
  kill "$host_pid"
  wait "$host_pid" 2>/dev/null || true
  echo "$1 urxvt cpu $(sed -n 's/^cpu //p' "$out/peer")" >>"$out/results"
}

: >"$out/results"
for _ in $(seq "$rounds"); do
  for stream in none plain sgr redraw; do
    ours "$stream"
    peer "$stream"
  done
done

awk -v mib="$mib" '
  { cpu[$1, $2] += $4; n[$1, $2]++ }
  $2 == "ours" { paints[$1] += $6; secs[$1] += $8 }
  END {
    printf "%-7s %12s %12s %7s %9s\n", "stream", "ours s/MiB", "urxvt s/MiB", "ratio", "paints/s"
    split("plain sgr redraw", names, " ")
    for (i = 1; i <= 3; ++i) {
      s = names[i]
      o = (cpu[s, "ours"] / n[s, "ours"] - cpu["none", "ours"] / n["none", "ours"]) / mib
      u = (cpu[s, "urxvt"] / n[s, "urxvt"] - cpu["none", "urxvt"] / n["none", "urxvt"]) / mib
      printf "%-7s %12.4f %12.4f %7.2f %9.1f\n", s, o, u, o / u, (secs[s] > 0 ? paints[s] / secs[s] : 0)
    }
  }' "$out/results"
