#!/usr/bin/env bash
# Installs the Debian packages Quarn needs to build and test, only when some
# are missing. Run as root on Debian. cpp (GNU's C preprocessor) is for the
# tests only: the preprocessor's output is compared with its output; so are
# python3 (terminal tests, the documents' examples) and xdotool.
set -euo pipefail
packages=(
  build-essential cmake ninja-build g++ clang flex bison cpp
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libfreetype-dev libfontconfig-dev
  libx11-dev libxext-dev libedit-dev libgtest-dev python3 xvfb xauth xdotool fonts-ipafont-mincho fonts-dejavu-core
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
