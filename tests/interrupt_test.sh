#!/usr/bin/env bash
# Ctrl-C (SIGINT) while a script runs ends that run with "Interrupted": the
# script's try does not catch it, a nested eval passes it on, sleep wakes up,
# a long matrix product or inverse stops within two seconds, main is not
# started afterwards, and talk mode (-t) still follows. So does Ctrl-C while
# the preprocessor waits for a script that never ends. Without talk mode the
# process ends with status 130, with it 0.
set -u
quarn=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail=0

# Runs quarn with the given words, sends SIGINT after a moment (or once the
# file named by $await exists), and waits up to $limit tenths of a second.
interrupt_run() {
  local input=$1; shift
  quarn_out="$work/out.txt"; quarn_err="$work/err.txt"
  "$quarn" "$@" < "$input" > "$quarn_out" 2> "$quarn_err" &
  local pid=$!
  if [ -n "${await:-}" ]; then
    for _ in $(seq 600); do [ -e "$await" ] && break; sleep 0.1; done
    sleep 0.3
  else
    sleep 0.5
  fi
  kill -INT $pid
  for _ in $(seq "${limit:-50}"); do kill -0 $pid 2> /dev/null || break; sleep 0.1; done
  if kill -0 $pid 2> /dev/null; then
    echo "quarn $* did not stop after SIGINT"; kill -9 $pid; fail=1
  fi
  wait $pid 2> /dev/null
  quarn_status=$?
}

expect() {
  local what=$1 expected=$2 file=$3
  if [ "$(cat "$file")" != "$expected" ]; then
    echo "$what: expected"; echo "$expected"; echo "but got"; cat "$file"; fail=1
  fi
}

cat > loop.qn <<'QN'
function main() { print("main must not run"); }
try {
    while (1) { x = 1; }
} catch (e) {
    print("the script caught it: ", e);
}
print("must not run either");
QN
echo 'print("talk goes on");' > talk.txt
interrupt_run talk.txt -t loop.qn
expect "loop, then talk mode: stdout" ">talk goes on"$'\n0.000\n>' "$quarn_out"
expect "loop: stderr" "error [3]: Interrupted" "$quarn_err"
[ "$quarn_status" = 0 ] || { echo "exit status $quarn_status"; fail=1; }

printf 'eval("for (;;) ;");\nprint("after eval");\n' > nested.qn
interrupt_run /dev/null nested.qn
expect "nested eval: stdout" "" "$quarn_out"
expect "nested eval: stderr" "error [1]: Interrupted" "$quarn_err"
[ "$quarn_status" = 130 ] || { echo "nested eval: exit status $quarn_status, expected 130"; fail=1; }

printf 'sleep(100000);\nprint("after sleep");\n' > sleep.qn
interrupt_run /dev/null sleep.qn
expect "sleep: stdout" "" "$quarn_out"
expect "sleep: stderr" "error [2]: Interrupted" "$quarn_err"
for operation in "a . a" "inv(a)"; do
  cat > long.qn <<QN
a = random(3000) + 1i;
system("touch started");
try { c = $operation; } catch (e) { print("the script caught it: ", e); }
print("must not run");
QN
  rm -f started
  await=started limit=20 interrupt_run /dev/null long.qn
  expect "$operation: stdout" "" "$quarn_out"
  expect "$operation: stderr" "error [3]: Interrupted" "$quarn_err"
done
# The script is a pipe whose writer never writes, or a FIFO nobody opens.
mkfifo endless.fifo
sleep 30 > endless.fifo &
writer=$!
interrupt_run endless.fifo /dev/stdin
kill $writer 2> /dev/null
expect "endless script: stdout" "" "$quarn_out"
expect "endless script: stderr" "error: Interrupted" "$quarn_err"
interrupt_run /dev/null endless.fifo
expect "FIFO without a writer: stderr" "error: Interrupted" "$quarn_err"
exit $fail
