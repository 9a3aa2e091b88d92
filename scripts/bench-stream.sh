#!/usr/bin/env bash
# The full-speed stream twice in one run: through the simulated driver, then through our bridge
# DLL and zevbridge --sim (the same simulated device, across loopback TCP); each for the same time.
# Prints both, the bytes-per-second ratio (bridge / simulated driver; goal at least 0.9) and the
# pump's tick times, and accounts for every byte the bridge's device sent. Called by bench.sh in
# its Wine environment. Usage: bench-stream.sh <optimised win64 tree> <seconds>
set -uo pipefail
wtree=$1 seconds=$2
source "$(dirname "$0")/bridge-env.sh"
work="$wtree/bridge-stream"
rm -rf "$work" && mkdir -p "$work/stage"
trap 'zev_bridge_stop' EXIT
cp "$wtree/bin/stream_bench.exe" "$wtree/bridge-dll/FTD2XX.DLL" "$work/stage/" && cp -r "$wtree/bin/imagenes" "$work/stage/" || exit 1
printf 'device ZV100001 ZEV WiFi Server\nstream ZV100001\n' >"$work/ftd2xx_sim.txt"

echo "== full-speed stream for $seconds s through the simulated driver"
(cd "$wtree/bin" && "$ZEV_WINE" ./stream_bench.exe "$seconds" </dev/null 2>&1 | tr -d '\r') | tee "$work/sim.txt"
echo "== the same through the bridge DLL and zevbridge --sim"
zev_bridge_start "$wtree/host/bin/zevbridge" "$work/zevbridge.log" --port 0 --sim "$work/ftd2xx_sim.txt" || exit 1
(cd "$work/stage" && "$ZEV_WINE" ./stream_bench.exe "$seconds" </dev/null 2>&1 | tr -d '\r') | tee "$work/bridge.txt"
# The bridge logs its device's counts when the program's connection closes it.
counts=
for _ in $(seq 50); do
  counts=$(grep -m1 'ZV100001: stream sent' "$work/zevbridge.log") && break
  sleep 0.1
done
zev_bridge_stop
read_by_program=$(sed -n 's/^read by the program: \([0-9]*\) bytes$/\1/p' "$work/bridge.txt")
read -r sent read queued purged <<<"$(sed -n 's/.*stream sent \([0-9]*\) = read \([0-9]*\) + queued \([0-9]*\) + purged \([0-9]*\)$/\1 \2 \3 \4/p' <<<"$counts")"
status=0
if [ -n "${purged:-}" ] && [ -n "$read_by_program" ] && [ $((read + queued + purged)) = "$sent" ] && [ "$read" = "$read_by_program" ]; then
  echo "every byte accounted for: the device sent $sent = read $read + queued $queued + purged $purged, and the program read all $read"
else
  echo "MISMATCH: the device's counts [${counts#*: }] against the program's read [$read_by_program]"
  status=1
fi
rate() { sed -n 's/^stream: \([0-9]*\) bytes\/s.*/\1/p' "$1"; }
tick() { sed -n 's/^pump ticks: [0-9]*, median \([0-9.]*\) ms, p99 \([0-9.]*\) ms.*/\1 \2/p' "$1"; }
read -r sm sp <<<"$(tick "$work/sim.txt")"
read -r bm bp <<<"$(tick "$work/bridge.txt")"
awk -v s="$(rate "$work/sim.txt")" -v b="$(rate "$work/bridge.txt")" -v sm="$sm" -v sp="$sp" -v bm="$bm" -v bp="$bp" 'BEGIN {
  printf "%-22s %14s %14s %8s\n", "", "simulated DLL", "bridge", "ratio"
  printf "%-22s %10.0f B/s %10.0f B/s %7.2f %s\n", "stream into console", s, b, s ? b / s : 0, (s && b / s >= 0.9) ? "(goal 0.9 met)" : "(goal 0.9 NOT met)"
  printf "%-22s %11s ms %11s ms\n", "tick median", sm, bm
  printf "%-22s %11s ms %11s ms\n", "tick p99", sp, bp
}'
exit "$status"
