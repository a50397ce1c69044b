#!/usr/bin/env bash
# Builds the fuzz preset and fuzzes each target for a while on its own corpus:
#   tools/fuzz.sh [seconds-per-target] [target...]
# Targets: those fuzz/targets.txt names (all by default; the "fuzz_" prefix may be given).
# Each corpus grows in build/fuzz/corpus/<target>/ from run to run, starting from the
# generated seeds in build/fuzz/seeds/<target>/ and the committed inputs of past findings in
# fuzz/regressions/<target>/, which are replayed first. Crash files land in
# build/fuzz/findings/<target>/, logs in build/fuzz/logs/. Exits 1 when any target found
# something. id3lib is built with the fuzz preset's instrumentation, so the fuzzer is guided by
# its branches too and its memory errors are caught.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")

# Each target's name and longest input.
declare -A max_len=()
all=()
while read -r name length _; do
  case "$name" in ''|'#'*) continue ;; esac
  max_len[$name]=$length
  all+=("$name")
done <fuzz/targets.txt
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

tools/install-deps.sh native
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

build=build/fuzz
mkdir -p "$build/logs"
found=0
for target in "${targets[@]}"; do
  short=${target#fuzz_}
  name=fuzz_$short
  binary=$build/fuzz/$name
  if [ ! -x "$binary" ] || [ -z "${max_len[$short]:-}" ]; then
    echo "$0: no fuzz target '$target'" >&2
    exit 2
  fi
  corpus=$build/corpus/$name
  findings=$build/findings/$name
  mkdir -p "$corpus" "$findings"
  inputs=("$corpus" "$build/seeds/$name")
  regressions=fuzz/regressions/$short
  [ -d "$regressions" ] && inputs+=("$regressions")

  # The targets make their files below $TMPDIR; a crash leaves them behind, so here they
  # go into a folder of the run's own.
  scratch=$build/tmp/$name
  rm -rf "$scratch"
  mkdir -p "$scratch"
  env=(TMPDIR="$root/$scratch")
  options=(-max_len="${max_len[$short]}" -artifact_prefix="$findings/" -print_final_stats=1)

  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    echo "== $name: replaying $regressions"
    if ! env "${env[@]}" "$binary" "$regressions"/* >"$build/logs/$name.replay.log" 2>&1; then
      echo "$name: a past finding fails again, see $build/logs/$name.replay.log"
      found=1
      continue
    fi
  fi

  echo "== $name: fuzzing for $seconds s"
  before=$(ls "$findings" | wc -l)
  status=0
  env "${env[@]}" nice -n 10 "$binary" "${options[@]}" -max_total_time="$seconds" "${inputs[@]}" \
    >"$build/logs/$name.log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::' "$build/logs/$name.log" || true
  rm -rf "$scratch"
  after=$(ls "$findings" | wc -l)
  if [ $status -ne 0 ] || [ "$after" -gt "$before" ]; then
    echo "$name: FINDING (exit $status), see $findings/ and $build/logs/$name.log"
    grep -E 'ERROR|broken property|SUMMARY' "$build/logs/$name.log" | head -5 || true
    found=1
  fi
done
exit $found
