#!/bin/sh
# End to end: cvtelnet.exe under Wine on a private X server, connected to a
# scripted telnet server on loopback (busybox nc fed by a script).
#
#   cvtelnet_gui_test.sh CVTELNET.EXE ARCH WINE-RUN.SH WORK-DIR   (ARCH: win32 or win64)
#
# Checks that the terminal-type offer is answered, that text from the server
# is drawn in its colour, that keys arrive as the default table says (F10
# opening no menu), that capture writes ZUZERI.LOG and that File, Exit ends
# the program cleanly.
# Every process started here is stopped by its id.
set -eu
exe=$(realpath "$1")
arch=$2
wine_run=$(realpath "$3")
work=$4
rm -rf "$work/run"
mkdir -p "$work/run"
cd "$work/run"

export CV_WINEPREFIX="$work/prefix" CV_WINE_GRAPHICS=x11
pids=""
server_started=no
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  [ "$server_started" = no ] || "$wine_run" --stop-server "$arch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ ! -f shot.png ] || echo "last screenshot: $PWD/shot.png" >&2
  exit 1
}

# Polls a condition (a shell command) for up to $2 seconds.
wait_for() {
  tries=$(($2 * 5))
  while ! sh -c "$1" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.2
  done
}

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>display 2>xvfb.log &
pids="$pids $!"
wait_for '[ -s display ]' 10 || fail "Xvfb did not start"
export DISPLAY=":$(cat display)"

"$wine_run" --start-server "$arch"
server_started=yes

port=$((20000 + $$ % 20000))
while ss -ltn | grep -q ":$port "; do port=$((port + 1)); done

# The host offers its terminal type, writes a line on cyan (RGB 0,112,216 in
# the colour table) and, once told, a line for the capture file.
mkfifo feed
busybox nc -l -p "$port" <feed >received &
pids="$pids $!"
sh -c 'printf "\377\375\030\033[46m          CYAN          \033[0m\r\n"
       while [ ! -f capture-on ]; do sleep 0.2; done
       printf "LOGGED LINE\r\n"
       exec sleep 120' >feed &
pids="$pids $!"

"$wine_run" "$exe" 127.0.0.1 "$port" &
program=$!
pids="$pids $program"

wait_for 'xdotool search --name "^Corvane Telnet\$"' 60 || fail "no main window"
window=$(xdotool search --name '^Corvane Telnet$' | head -1)

wait_for "[ \"\$(od -An -tx1 received | tr -d ' \\n')\" = fffb18 ]" 20 || fail "terminal type offer not answered: $(od -An -tx1 received)"

has_cyan='import -window root shot.png && convert shot.png -fill black +opaque "#0070D8" -fill white -opaque "#0070D8" -format "%[fx:mean>0]" info: | grep -q 1'
wait_for "$has_cyan" 20 || fail "the cyan line was not drawn"

# The grey Up and Down keys and F1 and F11 as the default table sends them, a
# letter, Ctrl+C as the control character, and F10, which the default table
# has no row for: it sends nothing and leaves the next letter to the host.
xdotool windowfocus --sync "$window"
xdotool key Up Down F1 F11 a ctrl+c F10 b
wait_for "[ \"\$(od -An -tx1 received | tr -d ' \\n')\" = fffb181b5b411b5b421b4f501b5b32387e610362 ]" 20 ||
  fail "keys arrived as: $(od -An -c received)"

# File, Capture; then the host's next line goes to the capture file.
xdotool mousemove --window "$window" 16 10 click 1
sleep 1
xdotool mousemove --window "$window" 42 30 click 1
sleep 1
touch capture-on
sleep 2

# File, Exit.
xdotool mousemove --window "$window" 16 10 click 1
sleep 1
xdotool mousemove --window "$window" 30 56 click 1
tries=100
while kill -0 "$program" 2>/dev/null; do
  tries=$((tries - 1))
  [ "$tries" -gt 0 ] || fail "the program did not end after File, Exit"
  sleep 0.2
done
wait "$program" || fail "the program ended with status $?"
grep -q "LOGGED LINE" ZUZERI.LOG || fail "ZUZERI.LOG lacks the captured line"
echo "PASS: screenshot $PWD/shot.png"
