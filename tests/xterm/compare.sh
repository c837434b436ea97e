#!/bin/bash
# Compares the Xterm screen with tmux as a reference, by hand: runs a program
# with TERM=xterm in a tmux pane of a fixed size, records the bytes it writes,
# sends it keys, then prints how our screen differs from xterm's (replaying
# the same bytes, see xterm_reference.sh) and from tmux's, cursor included.
#
#   tests/xterm/compare.sh NAME ROWS COLS 'COMMAND' [KEYS|@SECONDS]...
#
# KEYS are tmux send-keys arguments (one word each, e.g. Down or 'ihello'),
# @SECONDS waits. The recording is build/compare/NAME.raw; the screens are
# NAME.xterm, NAME.tmux and NAME.ours beside it, and the cells' looks in
# NAME.xterm-styles and NAME.ours-styles. Needs the native build's xterm_dump.
set -u
name=$1 rows=$2 cols=$3 command=$4
shift 4
cd "$(dirname "$0")/../.."
out=build/compare
dump=build/native/tests/xterm/xterm_dump
mkdir -p "$out"
tmx() { tmux -L cvcompare "$@"; }
tmx kill-server 2>/dev/null
: >"$out/$name.raw"
tmx -f /dev/null new-session -d -s cmp -x "$cols" -y "$rows" "sleep 0.5; TERM=xterm exec $command"
tmx set -g remain-on-exit on
tmx set -g status off
tmx resize-window -t cmp -x "$cols" -y "$rows"
tmx pipe-pane -t cmp -o "cat >>'$PWD/$out/$name.raw'"
sleep 1.5
for key in "$@"; do
  case $key in
    @*) sleep "${key#@}" ;;
    *) tmx send-keys -t cmp "$key"; sleep 0.3 ;;
  esac
done
sleep 1
tmx capture-pane -p -t cmp | sed 's/ *$//' >"$out/$name.tmux"
tmx display -p -t cmp 'cursor #{cursor_y} #{cursor_x}' >>"$out/$name.tmux"
tmx kill-server
"$dump" "$rows" "$cols" "$out/$name.raw" >"$out/$name.ours" 2>"$out/$name.cursor"
cat "$out/$name.cursor" >>"$out/$name.ours"
tests/xterm/xterm_reference.sh "$rows" "$cols" "$out/$name.raw" >"$out/$name.xterm"
if diff -u --label xterm --label ours "$out/$name.xterm" <(head -n "$rows" "$out/$name.ours"); then
  echo "$name: same as xterm"
fi
tests/xterm/xterm_reference.sh "$rows" "$cols" "$out/$name.raw" styles >"$out/$name.xterm-styles"
"$dump" "$rows" "$cols" "$out/$name.raw" styles >"$out/$name.ours-styles"
if diff -q "$out/$name.xterm-styles" "$out/$name.ours-styles" >/dev/null; then
  echo "$name: colours and renditions as xterm's"
else
  echo "$name: colours or renditions differ from xterm's (rows $(diff "$out/$name.xterm-styles" "$out/$name.ours-styles" | sed -n 's/^\([0-9,]*\)c.*/\1/p' | tr '\n' ' '))"
fi
if diff -u --label tmux --label ours "$out/$name.tmux" "$out/$name.ours"; then echo "$name: same as tmux"; fi
