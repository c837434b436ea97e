#!/bin/sh
# Checks what review should not have to: every C++ file is formatted as
# .clang-format says, and no portable code includes an OS or toolkit header
# (only platform/ and the tests of its adapters may).
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

os_headers='#include <(windows|winsock|winsock2|ws2tcpip|mmsystem|commctrl|sys/[a-z_]+|unistd|poll|fcntl|termios|dlfcn|pthread|netdb|netinet/[a-z_]+|arpa/[a-z_]+|signal|Q[A-Za-z]+|Qt[A-Za-z]*/[A-Za-z]+|X11/[A-Za-z]+|xcb/[a-z_]+)(\.h)?>'
misplaced=$(git grep -nE "$os_headers" -- app emulator net telnet tools fuzz bench || true)
if [ -n "$misplaced" ]; then
  echo "$misplaced"
  echo "check-style: portable code includes an OS or toolkit header; move that code to platform/"
  status=1
fi

[ "$status" -eq 0 ] && echo "check-style: formatting and header placement are clean"
exit "$status"
