#!/bin/sh
# Runs the program on the current X display, presses the up-arrow key in its
# terminal once it has connected, and saves a picture of its window.
#   screenshot.sh PICTURE PROGRAM ARGUMENTS...
set -eu
shot=$1
shift
"$@" &
pid=$!
trap 'kill "$pid" 2>/dev/null' EXIT
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name '^Corvane Telnet$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot.sh: the window did not appear" >&2; exit 1; }
sleep 2
xdotool windowfocus --sync "$window" key Up
sleep 1
import -window "$window" "$shot"
