#!/usr/bin/env bash
# Installs what is missing, builds the Windows x64 program and starts it under Wine with the
# simulated driver beside it, in Spain's regional format (scripts/wine-run.sh): on your X display if
# there is one, else in a virtual display,
# leaving a screenshot in $build/screenshots/run.png.
set -euo pipefail
# Real devices through the bridge: scripts/run-hardware.sh.
[ "${1:-}" = --hardware ] && { shift; exec bash "$(dirname "$0")/run-hardware.sh" "$@"; }
root=$(cd "$(dirname "$0")/.." && pwd)
# Separate build roots let several checkouts or developers build side by side.
build=${ZEV_BUILD_ROOT:-build}
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh win64
source scripts/wine-env.sh $build/win64
zev_wine_prefix_setup
stage="$root/$build/win64/stage"
mkdir -p $build/screenshots
if [ -n "${DISPLAY:-}" ]; then
  echo "starting ZEV Config on $DISPLAY (close its window to end)"
  cd "$stage" && exec "$ZEV_WINE" ./ZEVConfig.exe
fi
source scripts/xvfb.sh
trap 'zev_wineserver_stop; zev_xvfb_stop' EXIT
zev_xvfb_start
( cd "$stage" && "$ZEV_WINE" ./ZEVConfig.exe >/dev/null 2>&1 ) &
app=$!
# Wait for the main window, let it settle, take the picture, then end the program.
for _ in $(seq 100); do
  xdotool search --name "ZEV Config" >/dev/null 2>&1 && break
  sleep 0.2
done
sleep "${ZEV_RUN_SECONDS:-3}"
import -window root $build/screenshots/run.png && echo "screenshot: $build/screenshots/run.png"
kill "$app" 2>/dev/null || true
