#!/usr/bin/env bash
# bash scripts/run.sh --hardware [zevbridge options]: ZEV Config under Wine with real ZEV devices.
# Builds what is missing, starts zevbridge (the kernel's FTDI serial ports; its options, e.g.
# "--sim FILE", are passed on) with a fresh random token, stages the program with the bridge
# FTD2XX.DLL in a folder of its own ($build/hardware/stage, never the test stage), runs it, starts
# the bridge again on the same port and token should it die, and stops it when the program ends.
# Without an X display the program runs in a virtual one for a few seconds and leaves a screenshot
# in $build/screenshots/run-hardware.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEV_BUILD_ROOT:-build}
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh win64
set +e
bash scripts/dialout-check.sh
tree="$root/$build/win64"
work="$root/$build/hardware"
stage="$work/stage"
rm -rf "$stage" && mkdir -p "$stage" "$root/$build/screenshots"
cp "$tree/stage/ZEVConfig.exe" "$tree/bridge-dll/FTD2XX.DLL" "$stage/" && cp -r "$tree/stage/imagenes" "$stage/" || exit 1
source scripts/wine-env.sh "$build/win64"
source scripts/bridge-env.sh
zev_wine_prefix_setup
app=
stop_all() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  zev_bridge_stop
  [ -n "${ZEV_XVFB_PID:-}" ] && { zev_wineserver_stop; zev_xvfb_stop; }
}
trap stop_all EXIT
zevbridge="$tree/host/bin/zevbridge"
zev_bridge_start "$zevbridge" "$work/zevbridge.log" --port 0 "$@" || exit 1
port=${ZEV_BRIDGE##*:}
echo "zevbridge: listening on $ZEV_BRIDGE (log: $work/zevbridge.log)"
if [ -z "${DISPLAY:-}" ]; then
  source scripts/xvfb.sh
  zev_xvfb_start || exit 1
  end=$((SECONDS + 20))
  shot=1
else
  echo "starting ZEV Config on $DISPLAY (close its window to end)"
  end=-1
  shot=0
fi
(cd "$stage" && exec "$ZEV_WINE" ./ZEVConfig.exe >"$work/program.log" 2>&1 </dev/null) &
app=$!
# Watches the program and the bridge: a bridge that dies comes back on the same port and token,
# so the program's driver finds it again at its next call.
while kill -0 "$app" 2>/dev/null; do
  if ! kill -0 "$ZEV_BRIDGE_PID" 2>/dev/null; then
    echo "zevbridge ended; starting it again on port $port"
    zev_bridge_restart "$zevbridge" "$work/zevbridge.log" --port "$port" "$@"
  fi
  if ((shot)) && xdotool search --name "ZEV Config" >/dev/null 2>&1; then
    sleep "${ZEV_RUN_SECONDS:-3}"
    import -window root "$root/$build/screenshots/run-hardware.png" && echo "screenshot: $build/screenshots/run-hardware.png"
    break
  fi
  ((end < 0 || SECONDS < end)) || { echo "the program's window did not appear within 20 s" >&2; exit 1; }
  sleep 0.5
done
