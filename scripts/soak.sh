#!/usr/bin/env bash
# Soak: ZEV Config used for a long while, then checked for growth and for life. The staged program
# of a Windows tree runs against the simulated driver under Wine and is steered from outside by
# zevmeasure: 500 connect/disconnect cycles, 200 openings and closings each of the finder and About,
# a second device unplugged and plugged 100 times while the finder is open, and 10 minutes of a
# device sending as fast as the program reads. After a warm-up round of each, and after each phase:
# the program's live GDI objects (Wine's +gdi trace), its USER windows and its working set.
# Fails when any of them grew past the warm-up level, when a step hangs or the program dies, or when
# the window does not answer at the end. Tolerances: windows none; GDI objects 4 (Wine creates and
# frees some objects lazily, so the live count wanders by one or two, where a leak of one object per
# cycle adds 50 even in the short run); working set 4 MiB (Wine's heap keeps some freed pages).
#
# Usage: soak.sh [--short] [<Windows build tree>]     (default tree: build/win64)
#   --short: a tenth of each phase, as the regular test run does it.
# Under the test run it uses the run's Wine prefix and display; alone, its own.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scale=1
if [ "${1:-}" = --short ]; then scale=10; shift; fi
tree=$(cd "${1:-$root/${ZEV_BUILD_ROOT:-build}/win64}" && pwd) || exit 2
connects=$((500 / scale)) finders=$((200 / scale)) abouts=$((200 / scale)) plugs=$((100 / scale))
stream_seconds=$((600 / scale))
gdi_tolerance=4 windows_tolerance=0 ws_tolerance_kib=4096

cd "$root"
stage="$tree/soak-stage"
own_wine=0
if [ -z "${ZEV_WINE:-}" ]; then
  [ -x "$tree/bin/zevmeasure.exe" ] || bash scripts/build.sh "$(basename "$tree")" || exit 2
  source scripts/wine-env.sh "$tree"
  source scripts/xvfb.sh
  own_wine=1
else
  source scripts/wine-env.sh "$tree"
fi
# Every exit path ends the program (it is the measurer's child, not ours) and what we set up.
trap 'zev_wine_kill "$stage"; ((own_wine)) && { zev_wineserver_stop; zev_xvfb_stop; }' EXIT
if ((own_wine)); then
  zev_xvfb_start || exit 2
  zev_wine_prefix_setup
  zev_wineserver_start
fi
source scripts/measure-lib.sh

rm -rf "$stage" && cp -r "$tree/stage" "$stage"
config="$stage/ftd2xx_sim.txt"
devices=$'device ZV100001 ZEV WiFi Server\ndevice ZV200002 ZEV WiFi Server B\n'
printf '%s' "$devices" >"$config"
measurer="$tree/bin/zevmeasure.exe"
# What the measurer says when it fails (and what the program showed) goes to the log, never away.
measure() { "$ZEV_WINE" "$measurer" "$@" </dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
winpath() { echo "Z:${1//\//\\}"; }

passed=0 failed=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; passed=$((passed + 1)); else echo "FAIL - $what"; failed=$((failed + 1)); return 1; fi
}
finish() {
  echo "soak: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

# Only the allocation and freeing lines of Wine's GDI trace are kept: they carry the live count. The
# filter holds nothing of ours (a test runner waits for its output pipe to close).
export WINEDEBUG=+pid,+gdi
line=$(zev_start "$measurer" "$(winpath "$stage/ZEVConfig.exe")" "$stage/start.txt" \
  >(exec grep -a --line-buffered '_gdi_handle' >"$stage/gdi.log" 2>/dev/null))
export WINEDEBUG=-all
pid=$(awk '{print $2}' <<<"$line")
check "the program starts ($line)" test -n "$pid"
[ -n "$pid" ] || finish

base_gdi= base_windows= base_ws=
snapshot() { # phase name
  sleep 2 # a measurement, not a wait: Wine's late frees, and a clock tick in between
  local s gdi windows ws
  s=$(measure stats "$pid") || { check "stats after $1" false; finish; }
  windows=$(awk '{print $2}' <<<"$s") ws=$(awk '{print $4}' <<<"$s")
  gdi=$(zev_gdi_live "$stage/gdi.log" "$pid")
  printf '%-34s GDI objects %5s   windows %4s   working set %8.1f MiB\n' "$1" "$gdi" "$windows" \
    "$(awk -v k="$ws" 'BEGIN { print k / 1024 }')"
  if [ -z "$base_gdi" ]; then
    base_gdi=$gdi base_windows=$windows base_ws=$ws
  else
    check "$1: GDI objects back to $base_gdi (+$gdi_tolerance)" test "$gdi" -le $((base_gdi + gdi_tolerance))
    check "$1: windows back to $base_windows" test "$windows" -le $((base_windows + windows_tolerance))
    check "$1: working set within 4 MiB of the warm-up's" test "$ws" -le $((base_ws + ws_tolerance_kib))
  fi
}
# What a slow first run showed: the finder's first refresh after the set of devices changed rebuilds
# the list, which drops a selection made before it, though the list looks the same. Here the driver
# holds that refresh and the set changes before every opening, so a connect that selects before the
# refresh has run fails (in two runs of three each time, nearly always over five), and one that
# waits for it passes.
slow_refresh_connects() {
  local i
  for i in 1 2 3 4 5; do
    printf '%sdevice ZV30000%d ZEV WiFi Server %d\ndelay enumeration 1500 at 2\n' "$devices" "$i" "$i" >"$config"
    { measure connect "$pid" && measure disconnect "$pid"; } || return 1
  done
  printf '%s' "$devices" >"$config"
}
stream() { # seconds
  printf '%sstream ZV100001\n' "$devices" >"$config"
  measure connect "$pid" || return 1
  local end=$((SECONDS + $1))
  while [ $SECONDS -lt $end ]; do
    sleep 5
    measure answer "$pid" 2000 >/dev/null || return 1
  done
  measure disconnect "$pid" || return 1
  printf '%s' "$devices" >"$config"
  # The session stays whole (up to 16 MiB, for Guardar como…) until the next one starts: that gives it back.
  measure connect "$pid" && measure disconnect "$pid"
}
phase() { # description, command...
  local what=$1; shift
  local t0=$SECONDS
  check "$what" "$@" || finish
  echo "   ($((SECONDS - t0)) s)"
}

phase "connects against a slow first refresh" slow_refresh_connects
phase "warm-up: one of each" eval 'measure cycles "$pid" connect 1 && measure cycles "$pid" finder 1 &&
  measure cycles "$pid" about 1 && measure cycles "$pid" plug 1 "$(winpath "$config")" && stream 3'
snapshot "after the warm-up"
phase "$connects connect and disconnect cycles" measure cycles "$pid" connect "$connects"
snapshot "after connecting and disconnecting"
phase "$finders openings of the finder" measure cycles "$pid" finder "$finders"
snapshot "after the finder"
phase "$abouts openings of About" measure cycles "$pid" about "$abouts"
snapshot "after About"
phase "$plugs unplug and plug cycles, finder open" measure cycles "$pid" plug "$plugs" "$(winpath "$config")"
snapshot "after unplugging and plugging"
phase "$stream_seconds s of full-speed stream" stream "$stream_seconds"
snapshot "after the stream"
check "the window still answers" measure answer "$pid" 2000
check "the program closes" measure close "$pid"
finish
