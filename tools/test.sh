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
tools/install-deps.sh tests || exit
# The 32-bit run's set-up (the i386 architecture, wine32, an emulator where the kernel starts
# no 32-bit programs) may fail where the rest installs; then only the stage that needs it fails.
wine32_log=$(mktemp)
trap 'rm -f "$wine32_log"' EXIT
wine32_problem=""
if ! tools/install-deps.sh wine32 2>&1 | tee "$wine32_log" >&2; then
  wine32_problem=$(grep -v '^warning: ' "$wine32_log" | tail -n3 | paste -sd' ' -)
  wine32_problem=${wine32_problem:-tools/install-deps.sh wine32 failed}
fi

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
# Each builds the shipped DLL itself, and runs programs under wine32: the setup program, the
# suite and the end-to-end test of the shipped DLL.
needs_wine32() {
  if [ -n "$wine32_problem" ]; then
    echo "this stage needs the 32-bit set-up, which failed: $wine32_problem"
    return 1
  fi
  "$@"
}
run_stage "win32 and wine32" needs_wine32 workflows win32 wine32
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
