#!/usr/bin/env bash
# Times the benchmark workloads: bench/run.sh path/to/quarn [repeats]
# (WORKLOADS="fib startup" bench/run.sh ... times only those).
# Builds nothing. For each workload it reports the best CPU time (user +
# system) of the repeats and the peak resident memory, for quarn and, side
# by side in the same run, for lua5.4, /usr/bin/python3 (with NumPy) and
# octave-cli where those are installed; then how many times quarn's time
# the other's is (above 1: quarn is faster). CPU time, not wall time: the
# machine may be shared, and waiting for a core is not the program's cost.
set -u
if [ $# -lt 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 path/to/quarn [repeats]" >&2
  exit 1
fi
quarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
repeats=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
workloads=${WORKLOADS:-"startup scalar_loop subscript_loop fib append_set append_plus strings elementwise matmul inverse"}

# Language name, command, script extension.
langs=("quarn|$quarn|qn")
notes=()
if command -v lua5.4 >/dev/null 2>&1; then
  langs+=("lua5.4|lua5.4|lua")
else
  notes+=("lua5.4 not installed: skipped")
fi
python=""
for p in /usr/bin/python3 python3; do
  if command -v "$p" >/dev/null 2>&1 && "$p" -c "import numpy" >/dev/null 2>&1; then
    python=$p
    break
  fi
done
if [ -n "$python" ]; then
  # NumPy runs with its own choice of kernels: no core or cache overrides.
  langs+=("python|env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE $python|py")
else
  notes+=("no Python with NumPy: skipped")
fi
if command -v octave-cli >/dev/null 2>&1; then
  langs+=("octave|octave-cli --no-gui --quiet|m")
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$here"

# cpu CMD... -> "status cpu-seconds" of that one process tree, to the
# microsecond (Python's wait4), or to the millisecond (bash's own timer)
# where there is no Python.
cpu() {
  if [ -n "$python" ]; then
    "$python" - "$@" <<'PY'
import os, sys
pid = os.fork()
if pid == 0:
    out = os.open(os.environ["OUT"], os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    err = os.open(os.environ["ERR"], os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    os.dup2(out, 1)
    os.dup2(err, 2)
    try:
        os.execvp(sys.argv[1], sys.argv[1:])
    finally:
        os._exit(127)
_, status, ru = os.wait4(pid, 0)
print(os.waitstatus_to_exitcode(status), "%.6f" % (ru.ru_utime + ru.ru_stime))
PY
  else
    local TIMEFORMAT="%3U %3S" t code
    t=$( { time "$@" > "$OUT" 2> "$ERR"; } 2>&1 )
    code=$?
    read -r u s <<< "$t"
    echo "$code $(awk "BEGIN{print $u + $s}")"
  fi
}

# peak CMD... -> peak resident kilobytes, measured by GNU time in a run of
# its own: a process forked from Python would count Python's pages too.
peak() {
  if /usr/bin/time -f %M -o "$work/mem" "$@" > /dev/null 2>&1; then
    tail -n 1 "$work/mem"
  else
    echo 0
  fi
}

# run_one CMD SCRIPT -> "seconds kilobytes" (best time, peak memory), or
# "fail" when a run fails.
run_one() {
  local cmd=$1 script=$2 best="" i code t
  for ((i = 0; i < repeats; i++)); do
    # shellcheck disable=SC2086
    read -r code t <<< "$(OUT="$work/out" ERR="$work/err" cpu $cmd "$script")"
    # quarn reports script errors on standard error; the other languages may
    # warn there (Octave does) and still succeed.
    if [ "$code" != 0 ] || { [ "$cmd" = "$quarn" ] && [ -s "$work/err" ]; }; then
      echo "fail"
      return
    fi
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
  done
  # shellcheck disable=SC2086
  echo "$best $(peak $cmd "$script")"
}

printf "%-15s" "workload"
for l in "${langs[@]}"; do printf " | %-17s" "${l%%|*} s / MiB"; done
for l in "${langs[@]:1}"; do printf " | %-10s" "${l%%|*}/q"; done
printf "\n"
for w in $workloads; do
  printf "%-15s" "$w"
  times=()
  for l in "${langs[@]}"; do
    IFS='|' read -r name cmd ext <<< "$l"
    if [ ! -f "$w.$ext" ]; then
      printf " | %-17s" "(no script)"
      times+=("")
      continue
    fi
    r=$(run_one "$cmd" "$w.$ext")
    if [ "$r" = fail ]; then
      printf " | %-17s" "failed"
      times+=("")
    else
      read -r t m <<< "$r"
      printf " | %-17s" "$(printf "%.4f / %.1f" "$t" "$(awk "BEGIN{print $m/1024}")")"
      times+=("$t")
    fi
  done
  # Ratios: the other's time over quarn's.
  for ((k = 1; k < ${#times[@]}; k++)); do
    if [ -n "${times[0]}" ] && [ -n "${times[$k]}" ]; then
      printf " | %-10s" "$(awk "BEGIN{q = ${times[0]}; if (q <= 0) q = 1e-6; printf \"%.2f\", ${times[$k]} / q}")"
    else
      printf " | %-10s" "-"
    fi
  done
  printf "\n"
done
for n in "${notes[@]}"; do echo "note: $n"; done
echo "note: the append workloads of Lua use a table buffer; Python's run inside a function"
