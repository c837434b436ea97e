#!/bin/sh
# Builds and runs every test: the native build, the sanitizer build and the
# Windows cross build under Wine. The 32-bit Windows program is always built;
# its tests run from that build where this machine runs 32-bit programs, and
# from the same sources built for 64-bit Windows where it cannot.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/check-style.sh

build_and_test() {
  echo "=== $1: configure and build"
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
  echo "=== $1: test"
  ctest --preset "$1"
}

# Decided by trying: the 32-bit Wine loader must start and answer. An i386
# binfmt entry for qemu means the answer comes from an emulator, under which
# Wine hangs, so such a machine counts as unable.
runs_32bit() {
  ls /proc/sys/fs/binfmt_misc/ 2>/dev/null | grep -q 'qemu-i386' && return 1
  timeout 30 /usr/lib/wine/wine --version >/dev/null 2>&1
}

windows_lane() {
  if runs_32bit; then
    echo "win32"
  else
    echo "win64"
  fi
}

windows_tests() {
  trap "./scripts/wine-run.sh --stop-server $1" EXIT
  ./scripts/wine-run.sh --start-server "$1"
  build_and_test "$1"
  ./scripts/wine-run.sh --stop-server "$1"
  trap - EXIT
}

for preset in native asan; do
  build_and_test "$preset"
done

lane=$(windows_lane)
if [ "$lane" = win64 ]; then
  echo "=== this machine cannot run 32-bit programs: win32 is built, the Windows tests run from win64"
  echo "=== win32: configure and build"
  cmake --preset win32 >/dev/null
  cmake --build --preset win32
fi
windows_tests "$lane"
echo "=== win32: the Windows zip"
(cd build/win32 && cpack -G ZIP)
echo "=== all tests passed"
