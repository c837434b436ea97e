#!/bin/bash
# Walks vttest's screens by hand and compares each with xterm's: runs vttest
# (TERM=xterm) in a 24x80 tmux pane, types the KEYS (a menu number, then
# Enter for each screen), keeps the bytes received after every key, and
# replays each prefix in xterm (xterm_reference.sh) and in our screen
# (xterm_dump), printing "same" or "DIFFERENT" per screen. The dumps are
# build/vttest/NAME/NN.xterm and NN.ours. Needs the native build's xterm_dump.
#
#   tests/xterm/vttest_walk.sh NAME KEY...     e.g. menu8 8 Enter Enter Enter
set -u
name=$1
shift
cd "$(dirname "$0")/../.."
out=build/vttest/$name
dump=build/native/tests/xterm/xterm_dump
mkdir -p "$out"
rm -f "$out"/*
tmx() { tmux -L cvvttest "$@"; }
tmx kill-server 2>/dev/null
: >"$out/all.raw"
tmx -f /dev/null new-session -d -s v -x 80 -y 24 "sleep 0.5; TERM=xterm exec vttest"
tmx set -g status off
tmx resize-window -t v -x 80 -y 24
tmx pipe-pane -t v -o "cat >>'$PWD/$out/all.raw'"
sleep 1.5
step=0
for key in "$@"; do
  tmx send-keys -t v "$key"
  sleep 0.6
  step=$((step + 1))
  cp "$out/all.raw" "$out/$(printf %02d $step).raw"
done
tmx kill-server
for raw in "$out"/[0-9][0-9].raw; do
  screen=${raw%.raw}
  tests/xterm/xterm_reference.sh 24 80 "$raw" >"$screen.xterm" 2>/dev/null
  "$dump" 24 80 "$raw" >"$screen.ours" 2>/dev/null
  if diff -q "$screen.xterm" "$screen.ours" >/dev/null; then verdict=same; else verdict=DIFFERENT; fi
  echo "$name/$(basename "$screen"): $verdict"
done
