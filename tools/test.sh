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

run_preset() {
  echo "== $1 =="
  local start=$SECONDS
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
  ctest --preset "$1"
  echo "== $1: $((SECONDS - start)) s =="
}

# wine32 tests the DLL that win32 builds.
presets=(native sanitize memcheck win32 wine32 win64)
for preset in "${presets[@]}"; do
  run_preset "$preset"
done
stages=${#presets[@]}

seconds=${TUNELORE_FUZZ_SECONDS:-60}
if [ "$seconds" -gt 0 ]; then
  echo "== fuzz ($seconds s per target) =="
  tools/fuzz.sh "$seconds"
  stages=$((stages + 1))
fi
# Any failure above has already stopped the run.
echo "stages: $stages passed, 0 failed"
