#!/usr/bin/env bash
# End to end through the bridge: the real program, staged in a folder of its own with our bridge
# FTD2XX.DLL, talks to zevbridge --sim (a native Linux program) over loopback. Driven from outside
# with real mouse and keyboard input (xdotool) and zevdrive: finder, connect, the LIST answer,
# typing, a paste of a few kilobytes, the bridge killed mid-session, the bridge back on the same port
# and token, and an unplugged device. Leaves a screenshot of the program connected through it.
# Needs DISPLAY and the Wine environment of the test run.
# Usage: bridge_e2e.sh <win64 build tree> <zevbridge>
set -uo pipefail
tree=$(cd "$1" && pwd)
zevbridge=$2
wine=${ZEV_WINE:-wine}
shots=${ZEV_SCREENSHOTS:-$tree/screenshots}
source "$(dirname "$0")/../../scripts/bridge-env.sh"
mkdir -p "$shots"
work="$tree/bridge-e2e"
stage="$work/stage"
rm -rf "$work" && mkdir -p "$work" && cp -r "$tree/stage" "$stage"
rm -f "$stage/FTD2XX.DLL" "$stage/ftd2xx_sim.txt" && cp "$tree/bridge-dll/FTD2XX.DLL" "$stage/"
config="$work/ftd2xx_sim.txt"
written="$work/written.bin"
devices='device FT4K2P9A FT232R USB UART\ndevice ZV100001 ZEV WiFi Server\nwritelog written.bin\n'
printf "$devices" >"$config"

MAIN="ZEV Config  -  Vantoro "
FINDER="ZEV Config - B*"
passed=0 failed=0 app=
cleanup() {
  if [ -n "$app" ]; then
    kill "$app" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$app" 2>/dev/null
  fi
  zev_bridge_stop
}
trap cleanup EXIT
# zevdrive's complaint (what it waited for, what it saw) goes into the failure line.
drive() { "$wine" "$tree/bin/zevdrive.exe" "$@" 2>"$work/drive.err" </dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
check() { # description, command...
  local what=$1; shift
  if "$@" >/dev/null; then
    echo "ok - $what"; passed=$((passed + 1))
  else
    echo "FAIL - $what ($(tr -d '\r' <"$work/drive.err" 2>/dev/null | tail -n 1))"; failed=$((failed + 1))
  fi
}
click_at() { read -r x y <<<"$1" && [ -n "$y" ] && xdotool mousemove "$x" "$y" click 1 && sleep 0.3; }
# Waits (at most 5 s) until the bytes written to the device end with the file's content.
written_ends_with() {
  local want=$1 size
  size=$(stat -c %s "$want")
  for _ in $(seq 50); do
    [ -f "$written" ] && tail -c "$size" "$written" | cmp -s - "$want" && return 0
    sleep 0.1
  done
  echo "waited for the device to receive $size bytes ending the write log; its last 80 were:" \
    "$(tail -c 80 "$written" 2>/dev/null | od -c | head -n 3)" >"$work/drive.err"
  return 1
}
expect_written() { printf '%s' "$1" >"$work/want.bin" && written_ends_with "$work/want.bin"; }
connect() {
  check "the find button opens the finder" click_at "$(drive tool-center "$MAIN" 0)"
  check "the finder lists the ZEV device through the bridge" drive wait-item "$FINDER" "ZV100001" 5000
  check "select it" click_at "$(drive item-center "$FINDER" 0)"
  check "click Conectar" click_at "$(drive center "$FINDER" "Conectar")"
  check "the finder closes" drive gone "$FINDER" 5000
  check "the status bar names the device" drive wait-child-text "$MAIN" "Conectado con ZEV WiFi Server" 5000
  check "LIST arrived at the device" expect_written $'LIST\r'
  check "its reply is in the console" drive wait-child-text "$MAIN" "ssid=Vantoro-Taller" 5000
}

zev_bridge_start "$zevbridge" "$work/zevbridge.log" --port 0 --sim "$config" || exit 1
port=${ZEV_BRIDGE##*:}
(cd "$stage" && exec "$wine" ./ZEVConfig.exe >"$work/program.out" 2>&1 </dev/null) &
app=$!

check "the main window opens" drive wait "$MAIN" 20000
check "it starts disconnected" drive wait-child-text "$MAIN" "Desconectado" 3000
connect
xdotool type --delay 40 "HELP" && xdotool key Return
check "typed HELP and Enter arrive byte for byte" expect_written $'HELP\r'
check "the HELP reply is shown" drive wait-child-text "$MAIN" "Comandos disponibles" 5000
sleep 0.3
r=$(drive rect "$MAIN") && read -r x y w h <<<"$r" &&
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/e2e_bridge_connected.png"

# A paste of a few kilobytes: one write, accepted whole, every byte reaches the device.
for i in $(seq -w 1 100); do printf 'linea %s pegada desde el portapapeles ABCDEFGH\r\n' "$i"; done >"$work/paste.txt"
check "the paste is on the clipboard" drive clipboard-file "Z:${work//\//\\}\\paste.txt"
xdotool key ctrl+v
check "all $(stat -c %s "$work/paste.txt") pasted bytes reach the device in order" written_ends_with "$work/paste.txt"
check "the device's answer to the last pasted line is shown" drive wait-child-text "$MAIN" "linea 100 pegada" 5000

# The bridge dies mid-session: the link is reported gone, and the program waits for its device (that
# the finder shows the count failing meanwhile is the client's and the finder's native tests). Back on
# the same port and token, the bridge is used again at the next call: the device is connected again by
# itself and LIST goes out again.
zev_bridge_stop
check "a dead bridge disconnects the program" drive wait-child-text "$MAIN" "Desconectado" 5000
check "the bridge comes back on port $port" zev_bridge_restart "$zevbridge" "$work/zevbridge.log" --port "$port" --sim "$config"
check "the program connects to its device again" drive wait-child-text "$MAIN" "Conectado con ZEV WiFi Server" 5000
check "LIST went out again" expect_written $'LIST\r'
check "the console kept the session" drive wait-child-text "$MAIN" "linea 100 pegada" 3000
# Unplugged while connected: the program disconnects.
printf 'device FT4K2P9A FT232R USB UART\nwritelog written.bin\n' >"$config"
check "an unplugged device disconnects the program" drive wait-child-text "$MAIN" "Desconectado" 5000

drive close "$MAIN"
check "the main window closes" drive gone "$MAIN" 5000
ended=1
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || { ended=0; break; }; sleep 0.1; done
check "the program ends" test $ended -eq 0
[ "$failed" -eq 0 ] || { echo "zevbridge's log:"; cat "$work/zevbridge.log"; }
echo "bridge e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
