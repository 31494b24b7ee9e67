#!/usr/bin/env bash
# docs/builtins.md is generated from the built-in reference table; it fails
# here when either was changed without the other.
set -u
generator=$1
document=$2
if ! "$generator" | diff -u "$document" - ; then
  echo "docs/builtins.md differs from the reference table; regenerate it:"
  echo "    build/tests/docs/builtin_reference > docs/builtins.md"
  exit 1
fi
