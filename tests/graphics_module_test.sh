#!/usr/bin/env bash
# The graphics module is loaded on the first graphics call, from beside the
# executable or from ../lib/quarn. Without it the program still runs: screen()
# fails with a message and drawing is a run-time error. With it in the
# installed place, graphics calls work (no display is needed for cls()).
set -u
quarn=$1
module=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/lib/quarn"
cp "$quarn" "$work/bin/quarn"
cat > "$work/draw.qn" <<'QN'
function main() {
    printf("screen %d\n", screen(100, 100));
    cls();
    printf("after cls\n");
}
QN
fail=0
check() {  # what, expected, actual
  if [ "$2" != "$3" ]; then
    echo "$1 was:"; echo "$3"; echo "expected:"; echo "$2"; fail=1
  fi
}

out=$(env -u DISPLAY "$work/bin/quarn" "$work/draw.qn" 2> "$work/err" < /dev/null)
check "output without the module" "screen 0" "$out"
check "errors without the module" \
  "screen(): cannot open the graphics window: the graphics module quarn-graphics.so is neither beside the program nor in ../lib/quarn from it
error [3]: Graphics are not available: the graphics module quarn-graphics.so is neither beside the program nor in ../lib/quarn from it" \
  "$(cat "$work/err")"

cp "$module" "$work/lib/quarn/quarn-graphics.so"
out=$(env -u DISPLAY "$work/bin/quarn" "$work/draw.qn" 2> "$work/err" < /dev/null)
check "output with the module in ../lib/quarn" $'screen 0\nafter cls' "$out"
check "errors with the module in ../lib/quarn" \
  "screen(): cannot open the graphics window: no display (DISPLAY is not set)" "$(cat "$work/err")"

# A file of that name that is no module is reported, not run.
echo "not a library" > "$work/bin/quarn-graphics.so"
rm "$work/lib/quarn/quarn-graphics.so"
env -u DISPLAY "$work/bin/quarn" "$work/draw.qn" > /dev/null 2> "$work/err" < /dev/null
if ! grep -q "Graphics are not available: .*quarn-graphics.so" "$work/err"; then
  echo "a broken module gave:"; cat "$work/err"; fail=1
fi
exit $fail
