#!/usr/bin/env bash
# Times the benchmark workloads: bench/run.sh path/to/quarn [repeats]
# Builds nothing. For each workload it reports the best wall time of the
# repeats and the peak resident memory, for quarn and, side by side, for
# octave-cli, lua5.4 and a Python with NumPy where those are installed.
set -u
if [ $# -lt 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 path/to/quarn [repeats]" >&2
  exit 1
fi
quarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
repeats=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
workloads="startup scalar_loop fib elementwise matmul inverse strings"

# Language name, command, script extension.
langs=("quarn|$quarn|qn")
notes=()
if command -v octave-cli >/dev/null 2>&1; then
  langs+=("octave|octave-cli --no-gui --quiet|m")
else
  notes+=("octave-cli not installed: skipped")
fi
if command -v lua5.4 >/dev/null 2>&1; then
  langs+=("lua5.4|lua5.4|lua")
else
  notes+=("lua5.4 not installed: skipped")
fi
python=""
for p in python3 /usr/bin/python3 python; do
  if command -v "$p" >/dev/null 2>&1 && "$p" -c "import numpy" >/dev/null 2>&1; then
    python=$p
    break
  fi
done
if [ -n "$python" ]; then
  langs+=("python|$python|py")
else
  notes+=("no Python with NumPy: skipped")
fi

timer=/usr/bin/time
[ -x "$timer" ] || { echo "$0: needs $timer (GNU time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$here"

# run CMD SCRIPT -> "seconds kilobytes", or "fail" when the run fails. The
# wall time is taken here to the microsecond (GNU time rounds to 10 ms), so
# it includes starting GNU time itself, about a millisecond.
run_one() {
  local cmd=$1 script=$2 best="" mem=0 i t m start
  for ((i = 0; i < repeats; i++)); do
    start=$EPOCHREALTIME
    # shellcheck disable=SC2086
    if ! $timer -f "%M" -o "$work/t" $cmd "$script" > "$work/out" 2> "$work/err"; then
      echo "fail"
      return
    fi
    # quarn reports script errors on standard error and still exits 0; the
    # other languages may warn there (Octave does) and still succeed.
    if [ "$cmd" = "$quarn" ] && [ -s "$work/err" ]; then
      echo "fail"
      return
    fi
    t=$(awk "BEGIN{print $EPOCHREALTIME - $start}")
    m=$(tail -n 1 "$work/t")
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    [ "$m" -gt "$mem" ] && mem=$m
  done
  echo "$best $mem"
}

printf "%-12s" "workload"
for l in "${langs[@]}"; do printf " | %-20s" "${l%%|*} s / MB"; done
printf "\n"
for w in $workloads; do
  printf "%-12s" "$w"
  for l in "${langs[@]}"; do
    IFS='|' read -r name cmd ext <<< "$l"
    if [ ! -f "$w.$ext" ]; then
      printf " | %-20s" "(no script)"
      continue
    fi
    r=$(run_one "$cmd" "$w.$ext")
    if [ "$r" = fail ]; then
      printf " | %-20s" "failed"
    else
      read -r t m <<< "$r"
      printf " | %-20s" "$(printf "%.3f / %.1f" "$t" "$(awk "BEGIN{print $m/1024}")")"
    fi
  done
  printf "\n"
done
for n in "${notes[@]}"; do echo "note: $n"; done
