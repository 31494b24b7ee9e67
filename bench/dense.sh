#!/usr/bin/env bash
# The dense kernels beside NumPy, in one run: bench/dense.sh path/to/quarn
#
# For each workload of dense.qn / dense.py it prints the milliseconds per
# operation, wall and CPU (user + system), for quarn with every core it may
# use, quarn on one core (taskset), and NumPy; the ratios quarn / NumPy; and
# for the products the rate in GFLOP/s (8 n^3 for a complex product, 2 n^3
# for a real one). Quarn's CPU time is that of a run of the workload less
# that of a run building the operands only; NumPy times itself.
set -u
if [ $# -lt 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 path/to/quarn" >&2
  exit 1
fi
quarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
timer=/usr/bin/time
[ -x "$timer" ] || { echo "$0: needs $timer (GNU time)" >&2; exit 1; }
cd "$here"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# op name n repeats flops-per-op (0: no rate)
workloads=(
  "1|product complex|800|5|$((8 * 800 * 800 * 800))"
  "2|product real|800|10|$((2 * 800 * 800 * 800))"
  "3|inv real|400|20|0"
  "4|inv complex|400|10|0"
  "5|det real|400|40|0"
  "6|det complex|400|20|0"
  "7|rank real|400|10|0"
  "8|rank complex|400|5|0"
  "9|4x4: . inv det rank|4|200000|0"
)

# quarn_run PREFIX OP N REPS -> "wall_ms cpu_seconds" (cpu of the whole run)
quarn_run() {
  local prefix=$1 op=$2 n=$3 reps=$4 wall
  wall=$($timer -f "%U %S" -o "$work/t" $prefix "$quarn" -DOP="$op" -DN="$n" -DREPS="$reps" dense.qn) || return 1
  echo "$wall $(awk '{print $1 + $2}' "$work/t")"
}

# quarn_op PREFIX OP N REPS -> "wall_ms cpu_ms" per operation
quarn_op() {
  local run base
  run=$(quarn_run "$1" "$2" "$3" "$4") || { echo "fail fail"; return; }
  base=$(quarn_run "$1" 0 "$3" 1) || { echo "fail fail"; return; }
  awk -v r="$run" -v b="$base" -v reps="$4" 'BEGIN {
    split(r, x, " "); split(b, y, " "); cpu = (x[2] - y[2]) * 1000 / reps; if (cpu < 0) cpu = 0
    printf "%.3f %.3f\n", x[1], cpu }'
}

echo "dense kernels: quarn ($quarn) beside NumPy ($python), $(nproc) cores, $(date -u +%Y-%m-%dT%H:%MZ)"
printf "%-22s | %-17s | %-17s | %-17s | %-13s | %s\n" "workload (ms/op)" "quarn wall  cpu" \
  "1 core wall  cpu" "numpy wall  cpu" "ratio wall cpu" "GFLOP/s quarn, 1 core, numpy"
for w in "${workloads[@]}"; do
  IFS='|' read -r op name n reps flops <<< "$w"
  q=$(quarn_op "" "$op" "$n" "$reps")
  one=$(quarn_op "taskset -c 0" "$op" "$n" "$reps")
  np=$(env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$python" dense.py "$op" "$n" "$reps" 2> /dev/null || echo "fail fail")
  awk -v name="$name $n" -v q="$q" -v one="$one" -v np="$np" -v flops="$flops" 'BEGIN {
    split(q, a, " "); split(one, o, " "); split(np, p, " ")
    rw = (a[1] > 0 && p[1] > 0) ? sprintf("%.2f", a[1] / p[1]) : "-"
    rc = (a[2] > 0 && p[2] > 0) ? sprintf("%.2f", a[2] / p[2]) : "-"
    rate = "-"
    if (flops > 0 && a[1] > 0 && o[1] > 0 && p[1] > 0)
      rate = sprintf("%.1f, %.1f, %.1f", flops / a[1] / 1e6, flops / o[1] / 1e6, flops / p[1] / 1e6)
    printf "%-22s | %8s %8s | %8s %8s | %8s %8s | %6s %6s | %s\n", name, a[1], a[2], o[1], o[2], p[1], p[2], rw, rc, rate
  }'
done
