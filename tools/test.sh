#!/usr/bin/env bash
# Builds the three targets and runs every test: the native suite over the model, the same
# suite and the end-to-end DLL test under wine64, and the checks of the shipped 32-bit DLL.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh windows

run_preset() {
  echo "== $1 =="
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
  ctest --preset "$1"
}

run_preset native
run_preset win32
run_preset win64
