#!/bin/sh
# Builds the fuzz targets (the fuzz preset: clang with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each one for a
# bounded time from its seed corpus in fuzz/corpus/. Fails on any crash, leak,
# undefined behaviour, or input that runs longer than 10 s.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]
#
# SECONDS per target: the argument, else $FUZZ_SECONDS, else 60. TARGET is
# screen, replay, telnet, ini, xterm or address; all six by default. Inputs found on the way are
# kept in build/fuzz/corpus/, failing inputs in build/fuzz/artifacts/.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

seconds=${1:-${FUZZ_SECONDS:-60}}
[ $# -gt 0 ] && shift
targets=${*:-screen replay telnet ini xterm address}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${FUZZ_BUILD_JOBS:-2}"

out=build/fuzz
mkdir -p "$out/artifacts"
for target in $targets; do
  program=$out/fuzz/fuzz_$target
  log=$out/$target.log
  mkdir -p "$out/corpus/$target"
  echo "=== fuzz_$target: $seconds s"
  # The first folder receives new inputs; the seeds in the repository stay as they are.
  if ! "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$out/artifacts/$target-" "$out/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "=== fuzz_$target FAILED: the input is in $out/artifacts/, the whole log in $log"
    exit 1
  fi
  coverage=$(grep 'DONE ' "$log" | tail -n 1 | sed -n 's/.*\(cov: [0-9][0-9]* ft: [0-9][0-9]*\).*/\1/p')
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz_$target: $runs runs, $speed exec/s, $coverage"
done
echo "=== no fuzz target failed"
