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
#             (win32 and wine32 share one Wine session)
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

# Each stage's Windows programs run in one Wine session: a new Wine server boots the
# prefix's services again, minutes a time under the 32-bit emulator.
run_stage() {
  local name=$1 arch=$2 start=$SECONDS
  shift 2
  echo "== $name =="
  for preset in "$@"; do build_preset "$preset"; done
  local ctest_each=(bash -c 'for preset; do ctest --preset "$preset" || exit 1; done' ctest_each "$@")
  if [ "$arch" = none ]; then
    "${ctest_each[@]}"
  else
    TUNELORE_WINE_ARCH=$arch tools/wine-run.sh --session "${ctest_each[@]}"
  fi
  echo "== $name: $((SECONDS - start)) s =="
}

run_stage native none native
run_stage sanitize none sanitize
run_stage memcheck none memcheck
# wine32 tests the DLL that win32 builds; win32 also runs the setup program under wine32.
run_stage "win32 and wine32" win32 win32 wine32
run_stage win64 win64 win64
stages=6

seconds=${TUNELORE_FUZZ_SECONDS:-60}
if [ "$seconds" -gt 0 ]; then
  echo "== fuzz ($seconds s per target) =="
  tools/fuzz.sh "$seconds"
  stages=$((stages + 1))
fi
# Any failure above has already stopped the run.
echo "stages: $stages passed, 0 failed"
