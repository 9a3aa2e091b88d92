#!/usr/bin/env bash
# Builds the benchmarks optimised and without sanitizers in their own tree ($build/bench) and runs
# them, printing each benchmark's figures (bytes per second where it counts bytes).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEV_BUILD_ROOT:-build}
tree="$root/$build/bench"
if [ ! -f "$tree/build.ninja" ]; then
  cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEV_SANITIZE=OFF -DZEV_BUILD_TESTS=OFF \
    -DZEV_BUILD_BENCHMARKS=ON >/dev/null
fi
benches=$(cd "$root/bench" && ls *_bench.cpp 2>/dev/null | sed 's/\.cpp$//')
[ -n "$benches" ] || { echo "no benchmarks"; exit 0; }
# shellcheck disable=SC2086
cmake --build "$tree" --target $benches
for b in $benches; do
  echo "== $b"
  "$tree/bin/$b" ${ZEV_BENCH_FILTER:+--benchmark_filter="$ZEV_BENCH_FILTER"}
done
