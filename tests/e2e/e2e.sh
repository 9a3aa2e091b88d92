#!/usr/bin/env bash
# End to end: starts the staged program under Wine with the simulated driver and uses it as a
# person would, with real mouse and keyboard input through xdotool and zevdrive to see the windows.
# Needs DISPLAY and the Wine environment of the test run. Usage: e2e.sh <win64 build tree>
# Every wait is for a condition, with a bound; a failed step prints what the windows showed.
set -uo pipefail
tree=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.sh" "$tree"
source "$here/../../scripts/xvfb.sh"
shots=${ZEV_SCREENSHOTS:-$tree/screenshots}
mkdir -p "$shots"
stage="$tree/e2e-stage"
rm -rf "$stage" && cp -r "$tree/stage" "$stage"
config="$stage/ftd2xx_sim.txt"
written="$stage/written.bin"
# The finder's first refresh is held, as on a slow first run: a selection made before it is lost.
printf 'device FT4K2P9A FT232R USB UART\ndevice ZV100001 ZEV WiFi Server\nwritelog written.bin\n%s\n' \
  'delay enumeration 1500 at 2' >"$config"

MAIN="ZEV Config  -  Vantoro "
FINDER="ZEV Config - B*" # "ZEV Config - Búsqueda de Dispositivos"
ABOUT="Acerca de ZEV Config"
passed=0 failed=0
# zevdrive says on standard error why it failed and what the windows showed: that goes to the log.
drive() { "$ZEV_WINE" "$tree/bin/zevdrive.exe" "$@" </dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; passed=$((passed + 1)); else echo "FAIL - $what"; failed=$((failed + 1)); fi
}
click_at() { read -r x y <<<"$1" && [ -n "$y" ] && xdotool mousemove "$x" "$y" click 1; }
key() { xdotool key "$@"; }
shot() { # window caption, file name: the window painted, then its part of the screen once still
  local r
  drive painted "$1" && r=$(drive rect "$1") || return 1
  read -r x y w h <<<"$r"
  zev_screenshot "$shots/$2.png" "${w}x${h}+${x}+${y}"
}
# The main window with the console's menu over it, once both are painted.
shot_menu() { # file name
  local r m
  drive painted "$MAIN" && r=$(drive rect "$MAIN") && m=$(drive wait-menu "$MAIN" 3000) || return 1
  read -r x y w h <<<"$r" && read -r mx my mw mh <<<"$m"
  zev_screenshot "$shots/$1.png" "$(( (mx + mw > x + w ? mx + mw : x + w) - x ))x$(( (my + mh > y + h ? my + mh : y + h) - y ))+${x}+${y}"
}
written_has() { [ -f "$written" ] && grep -qaF "$1" "$written"; }
wait_written() {
  for _ in $(seq 100); do written_has "$1" && return 0; sleep 0.1; done
  echo "the device never received $(printf %q "$1"); it received: $(printf %q "$(cat "$written" 2>/dev/null)")" >&2
  return 1
}
# The finder is opened with the find button; a selection waits until the driver has answered both
# its enumerations (on opening and on its first refresh), which the list alone cannot show.
open_finder() {
  local before
  before=$(drive enumerations "$MAIN") || return 1
  click_at "$(drive tool-center "$MAIN" 0)" && drive wait "$FINDER" 5000 &&
    drive wait-enumerations "$MAIN" $((before + 2)) 10000
}

# The program's output goes to a file and its input comes from nowhere: a Windows process must not
# hold the test runner's pipes. Every exit path ends it.
trap 'zev_wine_kill "$stage"' EXIT
(cd "$stage" && exec "$ZEV_WINE" ./ZEVConfig.exe </dev/null >"$stage/program.log" 2>&1) &
app=$!

check "the main window opens" drive wait "$MAIN" 20000
check "it starts disconnected" drive wait-child-text "$MAIN" "Desconectado" 3000
# The pointer resting on the find button: the skinned toolbar shows it hot.
check "point at the find button" xdotool mousemove $(drive tool-center "$MAIN" 0)
check "the find button is shown hot" drive wait-hot "$MAIN" 0
shot "$MAIN" e2e_main_start

check "the find button opens the finder, which enumerates twice" open_finder
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
xdotool type --delay 40 "HELP" && key Return
check "typed HELP and Enter arrive byte for byte" wait_written $'LIST\rHELP\r'
check "the HELP reply is shown" drive wait-child-text "$MAIN" "Comandos disponibles" 3000
shot "$MAIN" e2e_main_connected
# A right click in the console opens the window's menu; its last item, Borrar, chosen with the keys
# inside the menu, clears the console.
check "a right click in the console" eval 'xdotool mousemove $(drive class-center "$MAIN" Edit) click 3'
check "opens the console's menu" drive wait-menu "$MAIN" 3000
shot_menu e2e_menu
key Up Return
check "Borrar in the menu clears the console" drive wait-child-gone "$MAIN" "Comandos disponibles" 3000

# A window that opens gives the keyboard to its first control, as a dialog box does: Space presses
# About's Aceptar. Closed, it gives the keyboard back to the control that had it.
# (xdotool cannot activate a window under Wine; real clicks and a closing window do.)
check "the about button opens About" click_at "$(drive tool-center "$MAIN" 3)"
check "About appears" drive wait "$ABOUT" 5000
shot "$ABOUT" e2e_about
check "About has the keyboard on Aceptar" drive wait-focus-text "$ABOUT" "Aceptar" 3000
key space
check "Space on Aceptar closes About" drive gone "$ABOUT" 3000
xdotool type --delay 40 "STATUS" && key Return
check "typing after About reaches the device without a click" wait_written $'HELP\rSTATUS\r'
check "the STATUS reply is shown" drive wait-child-text "$MAIN" "UART: 9600 8N1" 3000

# Unplugged (its line gone from the driver's file) and plugged again: the same device is connected
# again within about a second, LIST goes out again, and the console keeps what it showed.
printf 'device FT4K2P9A FT232R USB UART\ndevice ZV200002 ZEV WiFi Server B\nwritelog written.bin\n' >"$config"
check "unplugged, the status bar says Desconectado" drive wait-child-text "$MAIN" "Desconectado" 3000
printf 'device FT4K2P9A FT232R USB UART\ndevice ZV100001 ZEV WiFi Server\ndevice ZV200002 ZEV WiFi Server B\n%s\n' \
  'writelog written.bin' >"$config"
status=$(drive wait-child-text "$MAIN" "Conectado con " 5000)
check "plugged again, it is connected again" test "$status" = "Conectado con ZEV WiFi Server, NºSerie: ZV100001"
check "LIST went out again" wait_written $'STATUS\rLIST\r'
check "the console kept the session" drive wait-child-text "$MAIN" "UART: 9600 8N1" 1000

check "disconnect" click_at "$(drive tool-center "$MAIN" 1)"
check "the status bar says Desconectado" drive wait-child-text "$MAIN" "Desconectado" 3000
# The finder by keyboard: Tab and the arrows move between its controls, Space presses one.
check "the find button opens the finder again" open_finder
check "the finder has the keyboard on its list" drive wait-focus "$FINDER" ListBox 3000
key Tab
check "Tab moves to Conectar" drive wait-focus-text "$FINDER" "Conectar" 3000
key Right
check "Right moves to Cancelar" drive wait-focus-text "$FINDER" "Cancelar" 3000
key Left
check "Left moves back to Conectar" drive wait-focus-text "$FINDER" "Conectar" 3000
key Tab
check "Tab moves on to Cancelar" drive wait-focus-text "$FINDER" "Cancelar" 3000
key space
check "Space on Cancelar closes the finder" drive gone "$FINDER" 3000
check "the console has the keyboard again" drive wait-focus "$MAIN" Edit 3000

# Closing the main window ends the program even with the finder and About open.
# (About first: the finder may open over the toolbar.)
check "open About again" click_at "$(drive tool-center "$MAIN" 3)"
check "About is open" drive wait "$ABOUT" 5000
check "open the finder again" open_finder
drive close "$MAIN"
check "the main window closes" drive gone "$MAIN" 5000
ended=1
for _ in $(seq 100); do kill -0 $app 2>/dev/null || { ended=0; break; }; sleep 0.1; done
check "the program ends" test $ended -eq 0

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
