#!/usr/bin/env bash
# Builds every target and runs every test:
#   native    the suite over the Linux model
#   sanitize  the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, plus the
#             fuzz targets' regression inputs
#   memcheck  10,000 track changes through the hooks under valgrind
#   win32     the shipped DLL and the setup program, checked as files (export, imports
#             against Windows XP SP3's system DLLs, resources), and the setup program
#             installing and uninstalling under wine32
#   wine32    the suite and the end-to-end test of the shipped 32-bit DLL under wine32
#   win64     the suite and the end-to-end DLL test under wine64
#   fuzz      each fuzz target for TUNELORE_FUZZ_SECONDS (default 60; 0 skips)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh windows

build_preset() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

run_stage() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name =="
  for preset in "$@"; do build_preset "$preset"; done
  for preset in "$@"; do ctest --preset "$preset"; done
  echo "== $name: $((SECONDS - start)) s =="
}

run_stage native native
run_stage sanitize sanitize
run_stage memcheck memcheck
# wine32 tests the DLL that win32 builds; win32 also runs the setup program under wine32.
run_stage "win32 and wine32" win32 wine32
run_stage win64 win64
stages=6

seconds=${TUNELORE_FUZZ_SECONDS:-60}
if [ "$seconds" -gt 0 ]; then
  echo "== fuzz ($seconds s per target) =="
  tools/fuzz.sh "$seconds"
  stages=$((stages + 1))
fi
# Any failure above has already stopped the run.
echo "stages: $stages passed, 0 failed"
