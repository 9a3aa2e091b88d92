#!/usr/bin/env bash
# End to end: starts the staged program under Wine with the simulated driver and uses it as a
# person would, with real mouse and keyboard input through xdotool and zevdrive to see the windows.
# Needs DISPLAY and the Wine environment of the test run. Usage: e2e.sh <win64 build tree>
set -uo pipefail
tree=$(cd "$1" && pwd)
wine=${ZEV_WINE:-wine} # scripts/wine-run.sh: every Wine process in es-ES, as the program's users run it
shots=${ZEV_SCREENSHOTS:-$tree/screenshots}
mkdir -p "$shots"
stage="$tree/e2e-stage"
rm -rf "$stage" && cp -r "$tree/stage" "$stage"
config="$stage/ftd2xx_sim.txt"
written="$stage/written.bin"
printf 'device FT4K2P9A FT232R USB UART\ndevice ZV100001 ZEV WiFi Server\nwritelog written.bin\n' >"$config"

MAIN="ZEV Config  -  Vantoro "
FINDER="ZEV Config - B*" # "ZEV Config - Búsqueda de Dispositivos"
ABOUT="Acerca de ZEV Config"
passed=0 failed=0
drive() { "$wine" "$tree/bin/zevdrive.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; passed=$((passed + 1)); else echo "FAIL - $what"; failed=$((failed + 1)); fi
}
click_at() { read -r x y <<<"$1" && [ -n "$y" ] && xdotool mousemove "$x" "$y" click 1 && sleep 0.3; }
shot() { # window caption, file name
  local r; r=$(drive rect "$1") || return 1
  read -r x y w h <<<"$r"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/$2.png"
}
written_has() { [ -f "$written" ] && grep -qaF "$1" "$written"; }
wait_written() { for _ in $(seq 50); do written_has "$1" && return 0; sleep 0.1; done; return 1; }

(cd "$stage" && exec "$wine" ./ZEVConfig.exe >/dev/null 2>&1) &
app=$!
trap 'kill $app 2>/dev/null' EXIT

check "the main window opens" drive wait "$MAIN" 20000
check "it starts disconnected" drive wait-child-text "$MAIN" "Desconectado" 3000
# Spanish formats: the date day first, the time on 24 hours without AM/PM.
day=$(drive wait-child-text "$MAIN" "/" 3000)
check "the date panel shows today day first ($day)" grep -qxE "0?$(date +%-d)/0?$(date +%-m)/$(date +%Y)" <<<"$day"
clock=$(drive wait-child-text "$MAIN" ":" 3000)
check "the time panel shows H:mm:ss ($clock)" grep -qxE '[0-9]{1,2}:[0-9]{2}:[0-9]{2}' <<<"$clock"
# The pointer resting on the find button: the skinned toolbar shows it hot.
check "point at the find button" xdotool mousemove $(drive tool-center "$MAIN" 0)
sleep 0.5
shot "$MAIN" e2e_main_start

check "the find button opens the finder" click_at "$(drive tool-center "$MAIN" 0)"
check "the finder appears" drive wait "$FINDER" 5000
check "the ZEV device is listed" drive wait-item "$FINDER" "ZV100001" 3000

# Another process plugs a second ZEV device: the list, refreshed every second, shows it soon.
printf 'device ZV200002 ZEV WiFi Server B\n' >>"$config"
check "a plugged ZEV device shows up" drive wait-item "$FINDER" "ZV200002" 2500
shot "$FINDER" e2e_finder

check "select the first device" click_at "$(drive item-center "$FINDER" 0)"
check "click Conectar" click_at "$(drive center "$FINDER" "Conectar")"
check "the finder closes" drive gone "$FINDER" 3000
status=$(drive wait-child-text "$MAIN" "Conectado con " 3000)
check "the status bar names the device" test "$status" = "Conectado con ZEV WiFi Server, NºSerie: ZV100001"
check "LIST arrived at the device" wait_written $'LIST\r'
check "its reply is in the console" drive wait-child-text "$MAIN" "ssid=Vantoro-Taller" 3000

# The finder hands the console the keyboard: typing needs no click into it.
xdotool type --delay 40 "HELP" && xdotool key Return
check "typed HELP and Enter arrive byte for byte" wait_written $'LIST\rHELP\r'
check "the HELP reply is shown" drive wait-child-text "$MAIN" "Comandos disponibles" 3000
sleep 0.3
shot "$MAIN" e2e_main_connected

# A window that comes back to the front gives the keyboard back to the control that had it.
# (xdotool cannot activate a window under Wine; real clicks and a closing window do.)
check "the about button opens About" click_at "$(drive tool-center "$MAIN" 3)"
check "About appears" drive wait "$ABOUT" 5000
shot "$ABOUT" e2e_about
check "Aceptar closes it" click_at "$(drive center "$ABOUT" "Aceptar")"
check "About is gone" drive gone "$ABOUT" 3000
xdotool type --delay 40 "STATUS" && xdotool key Return
check "typing after About reaches the device without a click" wait_written $'HELP\rSTATUS\r'

check "disconnect" click_at "$(drive tool-center "$MAIN" 1)"
check "the status bar says Desconectado" drive wait-child-text "$MAIN" "Desconectado" 3000
check "the find button opens the finder again" click_at "$(drive tool-center "$MAIN" 0)"
check "the finder is back" drive wait "$FINDER" 5000
check "Cancelar closes it" click_at "$(drive center "$FINDER" "Cancelar")"
check "the finder is gone" drive gone "$FINDER" 3000
check "the console has the keyboard again" drive wait-focus "$MAIN" Edit 3000

# Closing the main window ends the program even with the finder and About open.
# (About first: the finder may open over the toolbar.)
check "open About again" click_at "$(drive tool-center "$MAIN" 3)"
check "About is open" drive wait "$ABOUT" 5000
check "open the finder again" click_at "$(drive tool-center "$MAIN" 0)"
check "the finder is open" drive wait "$FINDER" 5000
drive close "$MAIN"
check "the main window closes" drive gone "$MAIN" 5000
ended=1
for _ in $(seq 50); do kill -0 $app 2>/dev/null || { ended=0; break; }; sleep 0.1; done
check "the program ends" test $ended -eq 0

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
