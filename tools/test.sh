#!/usr/bin/env bash
# Sets up, builds and runs every test: first the whole suite under the address
# and undefined-behaviour sanitizers (build-asan), then each fuzz target for a
# bounded time (build-fuzz), then the suite of the normal build, whose ctest
# summary ends the output. Graphics tests get a virtual display.
#
# QUARN_FUZZ_SECONDS sets the time per fuzz target (default 120); 0 skips the
# fuzzing, as QUARN_SKIP_SANITIZE=1 skips the sanitizer run. The fuzzers
# start from the seeds with a fixed random seed (QUARN_FUZZ_SEED, default 1),
# so that a clean checkout gets the same result each time; tools/fuzz.sh
# alone explores afresh on every run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh build

# A failure in the sanitizer or fuzz run fails the command, but only after the
# normal suite has run, so that its summary is always the last thing printed.
failed=()
if [ "${QUARN_SKIP_SANITIZE:-0}" != 1 ]; then
  bash tools/sanitize.sh build-asan || failed+=("sanitizer suite")
fi
fuzz_seconds=${QUARN_FUZZ_SECONDS:-120}
if [ "$fuzz_seconds" != 0 ]; then
  QUARN_FUZZ_SEED=${QUARN_FUZZ_SEED:-1} bash tools/fuzz.sh "$fuzz_seconds" || failed+=("fuzzing")
fi

source tools/virtual_display.sh
start_virtual_display 99 98 97 96 95
trap stop_virtual_display EXIT

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]} (see above); the normal suite runs all the same"
fi
status=0
ctest --test-dir build --output-on-failure -j2 --timeout 300 || status=$?
[ ${#failed[@]} -eq 0 ] || [ $status -ne 0 ] || status=1
exit $status
