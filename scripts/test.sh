#!/usr/bin/env bash
# Installs what is missing, builds the four trees and runs every test: native (sanitizers), Windows
# x64 and x86 under Wine in a private virtual display (the x86 ones where this machine runs 32-bit
# programs: scripts/x86.sh), and a short run of each fuzz target (clang, libFuzzer); then builds the
# release packages (scripts/package.sh) and checks them, installing and starting them under Wine.
# Ends with the line "N passed, N failed" and a non-zero exit status on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Separate build roots let several checkouts or developers build side by side.
build=${ZEV_BUILD_ROOT:-build}
cd "$root"
# What each step cost, printed before the summary: "name seconds".
times=()
took() { times+=("$1 $((SECONDS - $2))s"); }
start=$SECONDS
bash scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
took install "$start"
source scripts/x86.sh
x86_reason=$(zev_x86_reason)
# Trees to test (default all, "package" being the release packages); ZEV_TEST_FILTER narrows ctest to
# matching test names.
trees=("$@"); ((${#trees[@]})) || trees=(native win64 win32 fuzz package)
builds=() package=0
for t in "${trees[@]}"; do
  if [ "$t" = package ]; then package=1; else builds+=("$t"); fi
done
# The package checks borrow zevdrive and the simulated driver from the Windows trees; they run last.
tested=("${builds[@]}")
if ((package)); then
  for t in win64 win32; do [[ " ${builds[*]} " == *" $t "* ]] || builds+=("$t"); done
  tested+=(package)
fi
for t in "${builds[@]}"; do
  start=$SECONDS
  bash scripts/build.sh "$t" || { echo "0 passed, 1 failed"; exit 1; }
  took "build-$t" "$start"
done
if ((package)); then
  start=$SECONDS
  { bash scripts/package.sh &&
    cmake -S tests/package -B "$build/package" -DZEV_ROOT="$root" -DZEV_DIST="$root/dist" \
      -DZEV_WIN64_TREE="$root/$build/win64" -DZEV_WIN32_TREE="$root/$build/win32" >/dev/null; } ||
    { echo "0 passed, 1 failed"; exit 1; }
  took build-package "$start"
fi

# Each Windows tree has its Wine prefix and server; the display-scale tests (tests/wine/scale144_*)
# run in a second prefix of the win64 tree, shown at 144 dpi. The package checks use win64's.
prefixes=()
for t in "${builds[@]}"; do
  case $t in
    win64) prefixes+=("win64 96" "win64 144") ;;
    win32) [ -n "$x86_reason" ] || prefixes+=("win32 96") ;;
  esac
done
in_prefix() ( # "tree dpi", command...: the command in that prefix's environment
  read -r tree dpi <<<"$1"
  shift
  source scripts/wine-env.sh "$build/$tree" "$dpi" && "$@"
)
source scripts/xvfb.sh
cleanup() {
  local p
  for p in "${prefixes[@]}"; do in_prefix "$p" zev_wineserver_stop; done
  zev_xvfb_stop
}
trap cleanup EXIT
zev_xvfb_start || { echo "0 passed, 1 failed"; exit 1; }
for p in "${prefixes[@]}"; do
  in_prefix "$p" zev_wine_prefix_setup || { echo "0 passed, 1 failed"; exit 1; }
done
for p in "${prefixes[@]}"; do in_prefix "$p" zev_wineserver_start; done
# Screenshots taken by the tests land here.
export ZEV_SCREENSHOTS="$root/$build/screenshots"
mkdir -p "$ZEV_SCREENSHOTS"

run_ctest() { # tree, parallel jobs, ctest arguments...
  local tree=$1 jobs=$2
  shift 2
  rm -rf "$build/$tree/test-results" && mkdir -p "$build/$tree/test-results"
  echo "== testing $tree"
  # Every test has a limit of its own fitted to it; this one covers any test that lacks one.
  ctest --test-dir "$build/$tree" -j "$jobs" --timeout 300 ${ZEV_TEST_FILTER:+-R "$ZEV_TEST_FILTER"} \
    --output-on-failure --output-junit ctest-junit.xml "$@" | grep -vE '^\s*(Start|[0-9]+/[0-9]+ Test)' || true
}
# Without 32-bit Wine the x86 runs are left out, and the summary says so.
x86_args=()
[ -z "$x86_reason" ] || x86_args=(-LE x86)
results=()
for t in "${tested[@]}"; do
  start=$SECONDS
  # Windows tests share one display and the focus: one at a time.
  case $t in
    native | fuzz) run_ctest "$t" 2 ;;
    win32) in_prefix "win32 96" run_ctest "$t" 1 "${x86_args[@]}" ;;
    *) in_prefix "win64 96" run_ctest "$t" 1 "${x86_args[@]}" ;;
  esac
  results+=("$build/$t")
  # A test that ctest had to kill could not end what it started: no program of it outlives its tree.
  for p in "${prefixes[@]}"; do in_prefix "$p" zev_wine_kill "$root/$build"; done
  took "test-$t" "$start"
done
# The tests save screenshots as BMP; PNG is what viewers and the README show.
for f in "$ZEV_SCREENSHOTS"/*.bmp; do
  [ -e "$f" ] && convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
echo "screenshots: $ZEV_SCREENSHOTS"
if [ -n "$x86_reason" ] && [[ " ${tested[*]} " == *" win32 "* || " ${tested[*]} " == *" package "* ]]; then
  echo "x86 runtime tests skipped: $x86_reason"
fi
echo "times: ${times[*]} (total $((SECONDS / 60)) min)"
python3 scripts/summarize.py "${results[@]}"
