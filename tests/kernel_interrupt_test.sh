#!/usr/bin/env bash
# Ctrl-C during a long matrix product or inverse stops it within a second or
# two: the run ends with "Interrupted" at the operation's line, which the
# script's try does not catch.
set -u
quarn=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail=0

check() {
  local name=$1 operation=$2
  cat > long.qn <<QN
a = random(3000) + 1i;
system("touch started");
try { c = $operation; } catch (e) { print("the script caught it: ", e); }
print("must not run");
QN
  rm -f started
  "$quarn" long.qn > out.txt 2> err.txt &
  local pid=$!
  for _ in $(seq 1200); do [ -e started ] && break; sleep 0.05; done
  sleep 0.3
  kill -INT $pid
  for _ in $(seq 40); do kill -0 $pid 2> /dev/null || break; sleep 0.05; done
  if kill -0 $pid 2> /dev/null; then
    echo "$name: still running 2 s after SIGINT"; kill -9 $pid; fail=1
  fi
  wait $pid 2> /dev/null
  if [ "$(cat err.txt)" != "error [3]: Interrupted" ] || [ -s out.txt ]; then
    echo "$name: expected only \"error [3]: Interrupted\", got:"; cat out.txt err.txt; fail=1
  fi
}

check product "a . a"
check inverse "inv(a)"
exit $fail
