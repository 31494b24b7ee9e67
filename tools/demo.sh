#!/usr/bin/env bash
# Sets up, builds and runs the demo script.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh build
./build/quarn examples/demo.qn
