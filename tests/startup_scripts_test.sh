#!/usr/bin/env bash
# Start-up scripts are found beside the executable: init.qn, then user.qn;
# a main defined there runs even when the named script fails to parse; an
# init.qn that is a directory is skipped without a message.
set -u
quarn=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cp "$quarn" "$work/bin/quarn"
cat > "$work/bin/init.qn" <<'QN'
print("init.qn runs first");
function main() { print("main from init.qn"); }
QN
cat > "$work/bin/user.qn" <<'QN'
print("user.qn runs second");
QN
printf 'print("never");\nx = ;\n' > "$work/broken.qn"
cd "$work"
out=$(./bin/quarn broken.qn 2> err.txt < /dev/null)
expected=$'init.qn runs first\nuser.qn runs second\nmain from init.qn'
fail=0
if [ "$out" != "$expected" ]; then
  echo "standard output was:"; echo "$out"; fail=1
fi
if [ "$(cat err.txt)" != "error [broken.qn:2]: syntax error" ]; then
  echo "standard error was:"; cat err.txt; fail=1
fi
rm "$work/bin/init.qn" && mkdir "$work/bin/init.qn"
out=$(./bin/quarn broken.qn 2> err2.txt < /dev/null)
if [ "$out" != "user.qn runs second" ]; then
  echo "with init.qn a directory, standard output was:"; echo "$out"; fail=1
fi
exit $fail
