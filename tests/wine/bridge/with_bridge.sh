#!/usr/bin/env bash
# Runs a Windows test binary under Wine against a zevbridge --sim started for it, and ends the
# bridge on every exit path. The test finds the bridge through ZEV_BRIDGE and ZEV_BRIDGE_TOKEN and
# the simulated devices' configuration file through ZEV_BRIDGE_SIM.
# Usage: with_bridge.sh <zevbridge> <emulator> <test.exe> [arguments...]
set -uo pipefail
zevbridge=$1 emulator=$2
shift 2
source "$(dirname "$0")/../../../scripts/bridge-env.sh"
dir=$(mktemp -d)
trap 'zev_bridge_stop; rm -rf "$dir"' EXIT
export ZEV_BRIDGE_SIM=$dir/ftd2xx_sim.txt
printf 'device FT4K2P9A FT232R USB UART\ndevice ZV100001 ZEV WiFi Server\n' >"$ZEV_BRIDGE_SIM"
zev_bridge_start "$zevbridge" "$dir/zevbridge.log" --port 0 --sim "$ZEV_BRIDGE_SIM" || exit 1
"$emulator" "$@" </dev/null
status=$?
if [ $status -ne 0 ]; then echo "zevbridge's log:"; cat "$dir/zevbridge.log"; fi
exit $status
