#!/usr/bin/env bash
# Valgrind over a long session in the model player: start-up, TRACKS track changes (default
# 10000) driven through the hooks as the player sends them, over a few dozen tagged MP3
# files, then quit (bench/long_session.cpp). Then shows that the heap does not grow with the
# number of tracks: valgrind's heap summary and massif's peak at 1000 tracks and at TRACKS,
# and the heap in use sampled at those two tracks. Fails on a memcheck error, a definite or
# indirect leak, a track change without its requests, or heap growth between the samples.
#   tools/memcheck.sh [TRACKS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tracks=${1:-10000}
short=1000
if [ "$tracks" -le "$short" ]; then
  echo "memcheck.sh: TRACKS must be more than $short" >&2
  exit 2
fi
tools/install-deps.sh native
cmake --preset memcheck >/dev/null
cmake --build --preset memcheck -j 2 >/dev/null

session=build/memcheck/bench/tunelore-long-session
logs=build/memcheck/valgrind
mkdir -p "$logs"
status=0

# The model player logs every message (unsigned int) and request (long) it receives; its logs'
# growth is the model's own.
log_growth() {
  echo "void std::vector<$1, std::allocator<$1> >::_M_realloc_insert<$1 const&>(__gnu_cxx::__normal_iterator<$1*, std::vector<$1, std::allocator<$1> > >, $1 const&)"
}

# The options the test long_session_memcheck runs with too.
mapfile -t memcheck_options < <(grep -e '^--' bench/memcheck-options.txt)

memcheck() {
  local n=$1 log="$logs/memcheck-$1.log"
  echo "== memcheck, $n track changes (full log: $log) =="
  if valgrind "${memcheck_options[@]}" -s --log-file="$log" "$session" --tracks "$n"; then
    echo "memcheck: clean"
  else
    echo "memcheck: FAILED"
    status=1
  fi
  grep -E 'in use at exit|total heap usage|definitely lost|indirectly lost|possibly lost|still reachable|ERROR SUMMARY' "$log" |
    sed 's/^==[0-9]*== *//; s/^--[0-9]*-- *//' | awk '!seen[$0]++'
}

start=$SECONDS
memcheck "$tracks"
echo "(took $((SECONDS - start)) s)"
memcheck "$short"

echo "== heap peak (massif; the model player's logs left out) =="
for n in "$short" "$tracks"; do
  out="$logs/massif-$n.out"
  valgrind --tool=massif --massif-out-file="$out" \
    --ignore-fn="$(log_growth 'unsigned int')" --ignore-fn="$(log_growth long)" \
    "$session" --tracks "$n" >/dev/null 2>&1 || status=1
  peak=$(sed -n 's/^mem_heap_B=//p' "$out" | sort -n | tail -1)
  # The second half of the run is track changes only, far from start-up and writing the files.
  late=$(awk -F= '$1 == "time" { t = $2 } $1 == "mem_heap_B" { time[++k] = t; heap[k] = $2 }
                  END { for (i = 1; i <= k; i++) if (time[i] >= time[k] / 2 && heap[i] > m) m = heap[i]
                        print m + 0 }' "$out")
  echo "$n track changes: peak $peak bytes; highest in the run's second half $late bytes (ms_print $out)"
done

echo "== heap in use at track $short and at track $tracks (mallinfo2, no valgrind) =="
samples=$("$session" --tracks "$tracks" --sample "$short,$tracks") || status=1
echo "$samples"
rest() { echo "$samples" | sed -n "s/^heap at track $1: .*, \([0-9]*\) the rest$/\1/p"; }
early=$(rest "$short")
late=$(rest "$tracks")
if [ -z "$early" ] || [ -z "$late" ] || [ $((late - early)) -gt 4096 ]; then
  echo "heap growth: FAILED (${early:-?} -> ${late:-?} bytes besides the model's logs)"
  status=1
else
  echo "heap growth: $((late - early)) bytes besides the model's logs, from track $short to $tracks"
fi
exit $status
