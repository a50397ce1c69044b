#!/usr/bin/env bash
# Builds the benchmarks (preset "bench": Release, benchmarks on, tests off) and runs them side
# by side, five interleaved repetitions each, then prints the machine, the median of each
# benchmark and the ratios that docs/benchmarks.md reports. Timings are only reported, never
# checked. Extra arguments go to Google Benchmark, e.g. --benchmark_filter=hook/.
#   tools/bench.sh [--benchmark_...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh native

cmake --preset bench >/dev/null
cmake --build --preset bench -j 2 >/dev/null

results=build/bench/results.json
echo "== machine =="
lscpu | sed -n 's/^Model name: *//p'
echo "cores: $(nproc), load average: $(cut -d' ' -f1-3 /proc/loadavg)"
g++ --version | head -1
echo "build type: $(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' build/bench/CMakeCache.txt)"
echo "== benchmarks =="
build/bench/bench/tunelore-bench \
  --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json \
  "$@" >/dev/null
echo "(full results: $results)"
echo "== medians and ratios =="
python3 bench/ratios.py "$results"
