#!/bin/sh
# Installs every Debian package that the builds, the tests and the benchmarks need.
# Idempotent: packages already present are left as they are.
set -eu

packages="
  build-essential cmake ninja-build ccache pkg-config python3 clang-format
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine32:i386 wine64 fonts-wine xvfb
  busybox-static inetutils-telnetd netbase
  qt6-base-dev qt6-qpa-plugins libx11-dev fonts-dejavu-core xdotool imagemagick librsvg2-bin
  clang libclang-rt-14-dev libvterm-dev valgrind bc rxvt-unicode telnet
"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $missing
