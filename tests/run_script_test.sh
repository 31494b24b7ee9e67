#!/usr/bin/env bash
# Runs one script test: quarn SCRIPT [args from SCRIPT.args] < SCRIPT.in,
# then compares standard output and standard error with SCRIPT.out / .err.
# A missing .out or .err means the stream must be empty. An .status file holds
# the expected exit status (0 when absent).
set -u
quarn=$1
script=$2
base=${script%.qn}
dir=$(dirname "$script")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

args=()
if [ -f "$base.args" ]; then
  read -r -a args < "$base.args"
fi
input=/dev/null
[ -f "$base.in" ] && input="$base.in"

# Scripts run from their own folder with a private copy so that temporary
# files (the preprocessed .i file, data files) never collide between tests.
cp -r "$dir"/. "$work"/
cd "$work"
name=$(basename "$script")
# The word SCRIPT in .args stands for the script's name; without it the name
# comes last. NOSCRIPT alone runs quarn with no script at all.
words=()
placed=0
for w in "${args[@]}"; do
  case "$w" in
    SCRIPT) words+=("$name"); placed=1 ;;
    NOSCRIPT) placed=1 ;;
    *) words+=("$w") ;;
  esac
done
[ $placed = 1 ] || words+=("$name")
# argv[0] is "quarn", as when it is found on PATH.
(exec -a quarn "$quarn" "${words[@]}") < "$input" > "$work/stdout.txt" 2> "$work/stderr.txt"
status=$?

fail=0
expected_status=0
[ -f "$base.status" ] && expected_status=$(cat "$base.status")
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"
  fail=1
fi
compare() {
  local expected=$1 actual=$2 label=$3
  if [ -f "$expected" ]; then
    if ! diff -u "$expected" "$actual" > "$work/diff.txt"; then
      echo "$label differs:"; cat "$work/diff.txt"; fail=1
    fi
  elif [ -s "$actual" ]; then
    echo "$label should be empty but holds:"; cat "$actual"; fail=1
  fi
}
compare "$base.out" "$work/stdout.txt" "standard output"
compare "$base.err" "$work/stderr.txt" "standard error"
exit $fail
