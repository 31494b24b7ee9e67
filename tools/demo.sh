#!/usr/bin/env bash
# Sets up, builds the program and its graphics module (not the tests) and runs
# one of the examples: the text tour (demo) by default, or plot2d or scene3d,
# which open a window.
set -euo pipefail
cd "$(dirname "$0")/.."
example=${1:-demo}
case "$example" in
  demo | plot2d | scene3d) ;;
  *) echo "usage: bash tools/demo.sh [demo | plot2d | scene3d]" >&2; exit 1 ;;
esac
bash tools/setup.sh
cmake -S . -B build -G Ninja > /dev/null
cmake --build build --target quarn
./build/quarn "examples/$example.qn"
