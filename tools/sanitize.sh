#!/usr/bin/env bash
# Builds Quarn with the address and undefined-behaviour sanitizers in
# build-asan (or the folder given) and runs every test there. Any report from
# a sanitizer makes the test that triggered it fail: script tests compare
# standard error and the exit status, unit tests end with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-asan}
bash tools/setup.sh
started=$(date +%s)
cmake -S . -B "$dir" -G Ninja -DQUARN_SANITIZE=ON > /dev/null
cmake --build "$dir" -j "${QUARN_JOBS:-2}"
built=$(date +%s)

source tools/virtual_display.sh
start_virtual_display 89 88 87 86 85
trap stop_virtual_display EXIT

# Leaks are checked at every exit; the suppressions cover only blocks that
# system libraries keep for the life of the process.
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$PWD/tools/sanitize_leaks.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
ctest --test-dir "$dir" --output-on-failure -j2 --timeout 600 || status=$?
echo "sanitize: build $((built - started)) s, tests $(($(date +%s) - built)) s"
exit $status
