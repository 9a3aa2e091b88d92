#!/usr/bin/env bash
# Installs what is missing, builds the Windows x64 program and starts it under Wine with the
# simulated driver beside it, in Spain's regional format (scripts/wine-run.sh): on your X display if
# there is one (until you close its window), else in a virtual display until its window is shown,
# leaving a screenshot in $build/screenshots/run.png. Every way out ends the program and whatever
# it started under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Separate build roots let several checkouts or developers build side by side.
build=${ZEV_BUILD_ROOT:-build}
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh win64
tree="$root/$build/win64"
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
