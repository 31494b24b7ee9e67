#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz and runs each for a bounded time,
# printing the executions run and any crash, hang or leak found. Exits
# non-zero when a target found one; its input is kept under
# build-fuzz/fuzz/artifacts/<target>/ for a reproducer.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 90); targets fuzz_parse, fuzz_run and
# fuzz_script (default all three). The corpus each target grows is kept in
# build-fuzz/fuzz/corpus/ and reused by the next run; the seeds are the test
# scripts and the examples.
# QUARN_FUZZ_DIR names another build folder; QUARN_FUZZ_SEED fixes the
# fuzzer's random seed (a fresh one each run when unset), so that a run from
# the same corpus tries the same inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-90}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_parse fuzz_run fuzz_script)
dir=$(realpath -m "${QUARN_FUZZ_DIR:-build-fuzz}")
root=$PWD

bash tools/setup.sh
cmake -S . -B "$dir" -G Ninja -DQUARN_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build "$dir" -j 2 --target fuzz

# Inputs run in a folder holding the test suite's data files, so that the
# file built-ins (read-only while fuzzing) have something to read.
work=$dir/fuzz/work
rm -rf "$work"
mkdir -p "$work"
cp tests/scripts/files/*.dat "$work"/

found=0
for target in "${targets[@]}"; do
  corpus=$dir/fuzz/corpus/$target
  artifacts=$dir/fuzz/artifacts/$target
  log=$dir/fuzz/$target.log
  mkdir -p "$corpus" "$artifacts"
  # Output of the programs themselves is closed (-close_fd_mask=3); the
  # fuzzer's own report and any sanitizer report still reach the log.
  seed=()
  [ -z "${QUARN_FUZZ_SEED:-}" ] || seed=(-seed="$QUARN_FUZZ_SEED")
  status=0
  (cd "$work" && "$dir/fuzz/$target" "${seed[@]}" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
    -dict="$root/tests/fuzz/quarn.dict" -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "$dir/fuzz/seeds" < /dev/null > "$log" 2>&1) || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  echo "$target: ${runs:-0} executions in ${seconds} s, corpus $(ls "$corpus" | wc -l) inputs"
  if [ $status -ne 0 ]; then
    found=1
    echo "$target: FOUND A FAULT (status $status); the fuzzer's report:"
    grep -E '^==[0-9]+==ERROR|SUMMARY|runtime error|^artifact_prefix|Test unit written|ALARM|out-of-memory' "$log" | head -n 20
    echo "full log: $log"
  fi
done
exit $found
