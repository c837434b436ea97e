#!/bin/sh
# Runs a Windows program under Wine in a private prefix, without Mono, Gecko or
# debug chatter. CMake uses it as the emulator of the cross builds.
#
#   wine-run.sh PROGRAM.exe [ARGS...]   run a program with the loader its PE header asks for
#   wine-run.sh --start-server ARCH     start a persistent wineserver for ARCH (win32 or win64)
#   wine-run.sh --stop-server ARCH      stop the server started above, by its process id
#
# Each architecture has its own prefix: a 32-bit prefix cannot be used by wine64.
set -eu

prefix_base="${CV_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/cvtelnet-wine}"
# Wine's null graphics driver keeps windows in memory, so that window tests run
# without a display; CV_WINE_GRAPHICS=x11 shows them on $DISPLAY instead.
graphics="${CV_WINE_GRAPHICS:-null}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The machine field of a PE file: 14c for i386, 8664 for x86-64.
pe_machine() {
  pe_offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe_offset + 4)) -N2 "$1" | tr -d ' '
}

# Sets the environment for one architecture. Debian's `wine` wrapper picks the
# 32-bit loader whenever wine32 is installed, so 64-bit programs name theirs.
use_arch() {
  export WINEPREFIX="$prefix_base-$1"
  case "$1" in
    win32)
      export WINEARCH=win32
      loader=wine
      server=wineserver
      ;;
    win64)
      export WINEARCH=win64
      export WINELOADER=/usr/lib/wine/wine64
      export WINESERVER=/usr/lib/wine/wineserver64
      loader=$WINELOADER
      server=$WINESERVER
      ;;
    *) echo "wine-run.sh: unknown architecture '$1'" >&2; exit 2 ;;
  esac
  pidfile="$WINEPREFIX.server.pid"
}

# Creates the prefix once, even when tests start in parallel, and gives it the
# graphics driver asked for (a marker file remembers which one it has).
ensure_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX/.lock" sh -c \
      '[ -f "$WINEPREFIX/system.reg" ] || { "$1" wineboot -i >/dev/null 2>&1; "$2" -w; }' sh "$loader" "$server"
  fi
  [ -f "$WINEPREFIX/.graphics-$graphics" ] && return 0
  "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f >/dev/null 2>&1
  # A server of its own writes the registry out when it ends; a persistent
  # one already holds the new value.
  [ -f "$pidfile" ] || "$server" -w
  rm -f "$WINEPREFIX"/.graphics-*
  touch "$WINEPREFIX/.graphics-$graphics"
}

# A persistent server saves Wine's start-up for every test program. The first
# wineboot starts Wine's helper processes now, so that they do not inherit the
# output pipe of the first test and hold it open until its timeout.
start_server() {
  use_arch "$1"
  ensure_prefix
  "$server" -f -p </dev/null >/dev/null 2>&1 &
  echo $! >"$pidfile"
  "$loader" wineboot >/dev/null 2>&1 </dev/null || true
}

stop_server() {
  use_arch "$1"
  [ -f "$pidfile" ] || return 0
  pid=$(cat "$pidfile")
  rm -f "$pidfile"
  "$server" -k >/dev/null 2>&1 || true
  kill "$pid" 2>/dev/null || true
  # Wait for it to go, so that the next run's server finds the prefix free.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 1
  done
  kill -9 "$pid" 2>/dev/null || true
}

case "${1:-}" in
  --start-server) start_server "$2"; exit 0 ;;
  --stop-server) stop_server "$2"; exit 0 ;;
  "") echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2; exit 2 ;;
esac

case "$(pe_machine "$1")" in
  14c) use_arch win32 ;;
  8664) use_arch win64 ;;
  *) echo "wine-run.sh: $1 is not a 32-bit or 64-bit x86 Windows program" >&2; exit 2 ;;
esac
ensure_prefix
exec "$loader" "$@"
