#!/usr/bin/env bash
# Installs what is missing, builds the four trees and runs every test: native (sanitizers),
# Windows x64 under Wine in a private virtual display, the x86 export check, and a short run of each
# fuzz target (clang, libFuzzer); then builds the release packages (scripts/package.sh) and checks
# them, installing and starting the x64 ones under Wine. Ends with the
# line "N passed, N failed" and a non-zero exit status on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Separate build roots let several checkouts or developers build side by side.
build=${ZEV_BUILD_ROOT:-build}
cd "$root"
bash scripts/install-deps.sh || exit 1
# Trees to test (default all, "package" being the release packages); ZEV_TEST_FILTER narrows ctest to
# matching test names.
trees=("$@"); ((${#trees[@]})) || trees=(native win64 win32 fuzz package)
builds=() package=0
for t in "${trees[@]}"; do
  if [ "$t" = package ]; then package=1; else builds+=("$t"); fi
done
# The package checks borrow zevdrive and the simulated driver from the win64 tree; they run last.
tested=("${builds[@]}")
if ((package)); then
  [[ " ${builds[*]} " == *" win64 "* ]] || builds+=(win64)
  tested+=(package)
fi
bash scripts/build.sh "${builds[@]}" || { echo "0 passed, 1 failed"; exit 1; }
if ((package)); then
  { bash scripts/package.sh &&
    cmake -S tests/package -B "$build/package" -DZEV_ROOT="$root" -DZEV_DIST="$root/dist" \
      -DZEV_WIN64_TREE="$root/$build/win64" >/dev/null; } || { echo "0 passed, 1 failed"; exit 1; }
fi

source scripts/xvfb.sh
source scripts/wine-env.sh $build/win64
# The display-scale tests (tests/wine/scale144_*) run in a second prefix shown at 144 dpi.
scaled() ( source scripts/wine-env.sh $build/win64 144 && "$@" )
cleanup() { scaled zev_wineserver_stop; zev_wineserver_stop; zev_xvfb_stop; }
trap cleanup EXIT
zev_xvfb_start || exit 1
zev_wine_prefix_setup
[[ " ${builds[*]} " != *" win64 "* ]] || scaled zev_wine_prefix_setup
zev_wineserver_start
# Screenshots taken by the tests land here.
export ZEV_SCREENSHOTS="$root/$build/screenshots"
mkdir -p "$ZEV_SCREENSHOTS"

run_ctest() { # tree, parallel jobs
  rm -rf "$build/$1/test-results" && mkdir -p "$build/$1/test-results"
  echo "== testing $1"
  # Every test has a limit of its own fitted to it; this one covers any test that lacks one.
  ctest --test-dir "$build/$1" -j "$2" --timeout 300 ${ZEV_TEST_FILTER:+-R "$ZEV_TEST_FILTER"} --output-on-failure --output-junit ctest-junit.xml \
    | grep -vE '^\s*(Start|[0-9]+/[0-9]+ Test)' || true
}
results=()
for t in "${tested[@]}"; do
  # Windows tests share one display and the focus: one at a time.
  case $t in native | fuzz) run_ctest "$t" 2 ;; *) run_ctest "$t" 1 ;; esac
  results+=("$build/$t")
  # A test that ctest had to kill could not end what it started: no program of it outlives its tree.
  zev_wine_kill "$root/$build"
done
# The tests save screenshots as BMP; PNG is what viewers and the README show.
for f in "$ZEV_SCREENSHOTS"/*.bmp; do
  [ -e "$f" ] && convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
echo "screenshots: $ZEV_SCREENSHOTS"
python3 scripts/summarize.py "${results[@]}"
