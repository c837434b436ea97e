#!/bin/sh
# Runs a Windows program under Wine in a private prefix, without Mono, Gecko or
# debug chatter. CMake uses it as the emulator of the cross build.
set -eu
export WINEPREFIX="${CV_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/cvtelnet-wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # One prefix creation at a time, even when tests start in parallel.
  flock "$WINEPREFIX/.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }'
fi
exec wine "$@"
