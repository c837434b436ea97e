#!/bin/sh
# Checks what review should not have to: every C++ file is formatted as
# .clang-format says, no portable code includes an OS or toolkit header, and
# no file includes one from a higher floor than its own.
set -eu
cd "$(dirname "$0")/.."

status=0

differences=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | grep 'warning:' || true)
if [ -n "$differences" ]; then
  echo "$differences" | cut -d: -f1 | sort -u
  unformatted=$(echo "$differences" | wc -l)
  echo "check-style: $unformatted lines differ from clang-format (run: git ls-files '*.cpp' '*.h' | xargs clang-format -i)"
  status=1
fi

# OS and toolkit headers belong to platform/ and the programs in gui/; a tool
# or benchmark keeps such code in a file named for its platform (_qt, _posix,
# _win32).
os_headers='#include <(windows|winsock|winsock2|ws2tcpip|mmsystem|commctrl|sys/[a-z_]+|unistd|poll|fcntl|termios|dlfcn|pthread|netdb|netinet/[a-z_]+|arpa/[a-z_]+|signal|Q[A-Za-z]+|Qt[A-Za-z]*/[A-Za-z]+|X11/[A-Za-z]+|xcb/[a-z_]+)(\.h)?>'
misplaced=$(git grep -nE "$os_headers" -- app emulator net telnet tools fuzz bench \
  ':!*_qt.cpp' ':!*_qt.h' ':!*_posix.cpp' ':!*_posix.h' ':!*_win32.cpp' ':!*_win32.h' || true)
if [ -n "$misplaced" ]; then
  echo "$misplaced"
  echo "check-style: portable code includes an OS or toolkit header; move that code to platform/"
  status=1
fi

# The floors, lowest first; a file includes only its own floor or lower ones.
# Tests and fuzz targets stand above everything; a benchmark may use the
# tests' support code (recording ports, rigs); the icons in desktop/ are data
# any floor may embed.
floor() {
  case "$1" in
    platform | desktop) echo 0 ;;
    emulator | net) echo 1 ;;
    telnet) echo 2 ;;
    app) echo 3 ;;
    gui) echo 4 ;;
    tools | bench) echo 5 ;;
    tests | fuzz) echo 6 ;;
    *) echo 7 ;;
  esac
}
upwards=$(git grep -nE '^#include "[a-z_]+/' -- '*.cpp' '*.h' | while IFS= read -r hit; do
  file=${hit%%:*}
  target=$(echo "$hit" | sed -E 's/.*#include "([a-z_]+)\/.*/\1/')
  from=${file%%/*}
  [ "$from" = bench ] && echo "$hit" | grep -qE '#include "tests/[a-z_/]*support/' && continue
  [ "$(floor "$target")" -le "$(floor "$from")" ] || echo "$hit"
done)
if [ -n "$upwards" ]; then
  echo "$upwards"
  echo "check-style: an include reaches a higher floor (platform < emulator, net < telnet < app < gui < tools, bench)"
  status=1
fi

[ "$status" -eq 0 ] && echo "check-style: formatting, header placement and layering are clean"
exit "$status"
