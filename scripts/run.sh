#!/usr/bin/env bash
# Installs what is missing, builds the Windows x64 program (with --x86: the 32-bit one) and starts
# it under Wine with the simulated driver beside it, in Spain's regional format
# (scripts/wine-run.sh): on your X display if there is one (until you close its window), else in a
# virtual display until its window is shown, leaving a screenshot in $build/screenshots/run.png.
# Every way out ends the program and whatever it started under Wine.
set -euo pipefail
# Real devices through the bridge: scripts/run-hardware.sh.
[ "${1:-}" = --hardware ] && { shift; exec bash "$(dirname "$0")/run-hardware.sh" "$@"; }
root=$(cd "$(dirname "$0")/.." && pwd)
# Separate build roots let several checkouts or developers build side by side.
build=${ZEV_BUILD_ROOT:-build}
windows_tree=win64
for option in "$@"; do
  case $option in
    --x86) windows_tree=win32 ;;
    *) echo "usage: run.sh [--x86] | run.sh --hardware" >&2; exit 2 ;;
  esac
done
cd "$root"
bash scripts/install-deps.sh
if [ "$windows_tree" = win32 ]; then
  source scripts/x86.sh
  reason=$(zev_x86_reason)
  [ -z "$reason" ] || { echo "the 32-bit program cannot run here: $reason" >&2; exit 1; }
fi
bash scripts/build.sh "$windows_tree"
tree="$root/$build/$windows_tree"
source scripts/wine-env.sh "$tree"
zev_wine_prefix_setup
stage="$tree/stage"
mkdir -p "$build/screenshots"
if [ -n "${DISPLAY:-}" ]; then
  trap 'zev_wine_kill "$stage"' EXIT
  echo "starting ZEV Config on $DISPLAY (close its window to end)"
  (cd "$stage" && "$ZEV_WINE" ./ZEVConfig.exe </dev/null)
  exit
fi
source scripts/xvfb.sh
trap 'zev_wine_kill "$stage"; zev_wineserver_stop; zev_xvfb_stop' EXIT
zev_xvfb_start
zev_wineserver_start
(cd "$stage" && exec "$ZEV_WINE" ./ZEVConfig.exe </dev/null >"$tree/run.log" 2>&1) &
MAIN="ZEV Config  -  Vantoro "
drive() { "$ZEV_WINE" "$tree/bin/zevdrive.exe" "$@" </dev/null >/dev/null; }
# The main window shown in its start state and painted, then the screen read until it holds still.
drive wait "$MAIN" 30000 && drive wait-child-text "$MAIN" Desconectado 5000 && drive painted "$MAIN" ||
  { echo "ZEV Config did not show its main window; its output: $(cat "$tree/run.log")" >&2; exit 1; }
zev_screenshot "$build/screenshots/run.png" && echo "screenshot: $build/screenshots/run.png"
