#!/bin/sh
# Builds and runs every test: the native build, the sanitizer build and the
# 32-bit Windows cross build under Wine.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

for preset in native asan win32; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "=== $preset: test"
  ctest --preset "$preset"
done
echo "=== all tests passed"
