#!/usr/bin/env bash
# Benchmarks, figures printed (no pass/fail on time):
#  1. native: the pump's text processing (Google Benchmark, optimised build without sanitizers, in
#     $build/bench);
#  2. Windows, under Wine in a private virtual display, from an optimised build of the Windows tree
#     ($build/win64-bench): ZEV Config against a bare window of the same platform controls, the two
#     started alternately, medians of ZEV_BENCH_RUNS runs (default 9): start-up (CreateProcess to the
#     window shown and its message loop answering; WaitForInputIdle also printed, though Wine lets it
#     return before any window exists), peak working set, CPU while idle disconnected and connected over
#     ZEV_BENCH_IDLE seconds (default 10; the program's and the wine server's CPU time); then the
#     full-speed stream for ZEV_BENCH_STREAM seconds (default 30).
# ZEV_BENCH_PARTS=native or windows runs one part only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEV_BUILD_ROOT:-build}
parts=${ZEV_BENCH_PARTS:-native windows}

if [[ $parts == *native* ]]; then
  tree="$root/$build/bench"
  if [ ! -f "$tree/build.ninja" ]; then
    cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEV_SANITIZE=OFF -DZEV_BUILD_TESTS=OFF \
      -DZEV_BUILD_BENCHMARKS=ON >/dev/null
  fi
  benches=$(cd "$root/bench" && ls *_bench.cpp 2>/dev/null | sed 's/\.cpp$//')
  # shellcheck disable=SC2086
  cmake --build "$tree" --target $benches
  for b in $benches; do
    echo "== $b"
    "$tree/bin/$b" ${ZEV_BENCH_FILTER:+--benchmark_filter="$ZEV_BENCH_FILTER"}
  done
fi

[[ $parts == *windows* ]] || exit 0
runs=${ZEV_BENCH_RUNS:-9}
idle=${ZEV_BENCH_IDLE:-10}
stream_seconds=${ZEV_BENCH_STREAM:-30}
wtree="$root/$build/win64-bench"
if [ ! -f "$wtree/build.ninja" ]; then
  cmake -S "$root" -B "$wtree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEV_BUILD_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" >/dev/null
fi
echo "== building the Windows programs (Release)"
cmake --build "$wtree" --target ZEVConfig zev_ftd2xx_sim zev_stage_images bare_window zevmeasure stream_bench \
  zev_ftd2xx_bridge zevbridge_host \
  | tail -n 1
cp "$wtree/bin/bare_window.exe" "$wtree/stage/"
# A clean program folder: no configuration file left from elsewhere, the default simulated devices.
rm -f "$wtree/stage/ftd2xx_sim.txt"

cd "$root"
# From here on failures are checked where they matter (an already running wine server is no failure).
set +e
mkdir -p "$build/win64"
source scripts/wine-env.sh "$build/win64"
source scripts/xvfb.sh
source scripts/measure-lib.sh
tmp=$(mktemp -d)
# Every exit path ends the programs started (children of the measurer, not ours) and the server.
trap 'zev_wine_kill "$wtree/stage"; zev_wineserver_stop; zev_xvfb_stop; rm -rf "$tmp"' EXIT
zev_xvfb_start || exit 1
zev_wine_prefix_setup
zev_wineserver_start
server=$(zev_unix_pid wineserver) || { echo "no wine server found" >&2; exit 1; }
measure() { "$ZEV_WINE" "$wtree/bin/zevmeasure.exe" "$@" </dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
winpath() { echo "Z:${1//\//\\}"; }

declare -A startup inidle peak idle_off idle_on
one_run() { # program (bare|zev), run number
  local exe out pid upid
  if [ "$1" = bare ]; then exe=bare_window.exe; else exe=ZEVConfig.exe; fi
  out=$(zev_start "$wtree/bin/zevmeasure.exe" "$(winpath "$wtree/stage/$exe")" "$tmp/out" "$tmp/err") || return 1
  pid=$(awk '{print $2}' <<<"$out")
  startup[$1]+="$(awk '{print $4}' <<<"$out") "
  inidle[$1]+="$(awk '{print $6}' <<<"$out") "
  sleep 2 # the first paint and whatever start-up leaves for later
  upid=$(zev_unix_pid "$exe")
  idle_off[$1]+="$(zev_cpu_percent "$idle" "$upid" "$server") "
  peak[$1]+="$(measure stats "$pid" | awk '{print $6}') "
  if [ "$1" = zev ]; then
    measure connect "$pid" >/dev/null
    sleep 2
    idle_on[$1]+="$(zev_cpu_percent "$idle" "$upid" "$server") "
  fi
  measure close "$pid" >/dev/null
}

echo "== ZEV Config against the bare window: $runs runs each, alternating, idle over $idle s"
for i in $(seq "$runs"); do
  one_run bare "$i" || exit 1
  one_run zev "$i" || exit 1
  printf '.'
done
echo
# shellcheck disable=SC2086
{
  sb=$(zev_median ${startup[bare]}) sz=$(zev_median ${startup[zev]})
  wb=$(zev_median ${inidle[bare]}) wz=$(zev_median ${inidle[zev]})
  pb=$(zev_median ${peak[bare]}) pz=$(zev_median ${peak[zev]})
  ib=$(zev_median ${idle_off[bare]}) iz=$(zev_median ${idle_off[zev]}) cz=$(zev_median ${idle_on[zev]})
}
awk -v sb="$sb" -v sz="$sz" -v wb="$wb" -v wz="$wz" -v pb="$pb" -v pz="$pz" -v ib="$ib" -v iz="$iz" -v cz="$cz" 'BEGIN {
  printf "%-34s %12s %12s %8s\n", "median of the runs", "bare window", "ZEV Config", "ratio"
  printf "%-34s %9.1f ms %9.1f ms %7.2fx\n", "start-up to window shown, answering", sb, sz, sz / sb
  printf "%-34s %9.1f ms %9.1f ms %7.2fx\n", "  WaitForInputIdle returned", wb, wz, wz / wb
  printf "%-34s %8.1f MiB %8.1f MiB %7.2fx\n", "peak working set", pb / 1024, pz / 1024, pz / pb
  printf "%-34s %10.2f %% %10.2f %%\n", "CPU idle, disconnected (+server)", ib, iz
  printf "%-34s %12s %10.2f %%\n", "CPU idle, connected (+server)", "-", cz
}'
echo "   each run: startup ms bare [${startup[bare]}] zev [${startup[zev]}]"
echo "   idle % bare [${idle_off[bare]}] zev [${idle_off[zev]}] connected [${idle_on[zev]}]"

# The stream through the simulated driver and through the bridge, side by side.
bash scripts/bench-stream.sh "$wtree" "$stream_seconds"
