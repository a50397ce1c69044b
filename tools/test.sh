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
# Each stage but fuzz is one or two workflow presets (CMakePresets.json: configure, build and
# test). A failed stage does not stop the run: the stages after it still run, so one run shows
# every failure; the last line counts them, and the exit code is nonzero when any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh windows || exit

passed=0
failed=()

# cmake --workflow for each preset named, in order, up to the first that fails.
workflows() {
  local preset
  for preset; do
    cmake --workflow --preset "$preset" || return
  done
}

# run_stage NAME COMMAND...: runs the command as one stage, timed and counted.
run_stage() {
  local name=$1 start=$SECONDS result=passed
  shift
  echo "== $name =="
  if "$@"; then
    passed=$((passed + 1))
  else
    failed+=("$name")
    result=FAILED
  fi
  echo "== $name: $result after $((SECONDS - start)) s =="
}

run_stage native workflows native
run_stage sanitize workflows sanitize
run_stage memcheck workflows memcheck
# Each builds the shipped DLL itself; win32 also runs the setup program under wine32.
run_stage "win32 and wine32" workflows win32 wine32
run_stage win64 workflows win64
seconds=${TUNELORE_FUZZ_SECONDS:-60}
if [ "$seconds" -gt 0 ]; then
  run_stage "fuzz ($seconds s per target)" tools/fuzz.sh "$seconds"
fi

if [ ${#failed[@]} -eq 0 ]; then
  echo "stages: $passed passed, 0 failed"
else
  list=$(printf '%s, ' "${failed[@]}")
  echo "stages: $passed passed, ${#failed[@]} failed: ${list%, }"
  exit 1
fi
