#!/usr/bin/env bash
# Runs a Windows executable under Wine: ctest uses it as the cross-compiling emulator, the scripts as $ZEV_WINE.
# The caller's WINEPREFIX is used; without one, the prefix of the build tree that holds the exe.
# With --via-file first (as ctest runs it), the program's output is collected in a file and passed on
# when it ends: a Windows process started meanwhile (Wine's desktop, a program a test starts)
# inherits the Unix descriptors of whoever started it, and one that held ctest's output pipe would
# keep ctest waiting long after the test ended.
via_file=0
if [ "${1:-}" = --via-file ]; then via_file=1; shift; fi
if [ -z "${WINEPREFIX:-}" ]; then
  exe_dir=$(cd "$(dirname "$1")" && pwd)
  tree=$exe_dir
  while [ "$tree" != / ] && [ ! -f "$tree/CMakeCache.txt" ]; do tree=$(dirname "$tree"); done
  # shellcheck source=/dev/null
  source "$(dirname "$0")/wine-env.sh" "$tree"
  zev_wine_prefix_setup
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Every Windows process runs in Spain's regional format, as the program's users do, and all in the
# same one: a program's windows showed the formats of the locale its Wine desktop was started in,
# and an uninstaller failed between processes of different locales. (Only Wine's processes: the
# tools that read objdump's or sort's output keep theirs.)
export LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8
if [ -z "${ZEV_WINE_BIN:-}" ]; then
  if [ -x /usr/lib/wine/wine64 ]; then ZEV_WINE_BIN=/usr/lib/wine/wine64; else ZEV_WINE_BIN=wine; fi
fi
# A 32-bit program starts through the 32-bit loader: its PE header says which (machine 0x14c: i386).
# Windows paths on the Z: and C: drives are read where they lie.
program=$1
case $program in
  [Zz]:\\*) program=${program:2} program=${program//\\//} ;;
  [Cc]:\\*) program=${program:3} program="$WINEPREFIX/drive_c/${program//\\//}" ;;
esac
if [ -f "$program" ] && header=$(od -An -tu4 -j60 -N4 "$program" 2>/dev/null) &&
  [ "$(od -An -tx2 -j$((header + 4)) -N2 "$program" 2>/dev/null | tr -d ' ')" = 014c ]; then
  [ -x /usr/lib/wine/wine ] || { echo "wine-run.sh: $1 is a 32-bit program and 32-bit Wine is not installed" >&2; exit 1; }
  ZEV_WINE_BIN=/usr/lib/wine/wine
fi
if ((via_file)); then
  output=$(mktemp)
  trap 'rm -f "$output"' EXIT
  "$ZEV_WINE_BIN" "$@" </dev/null >"$output" 2>&1
  status=$?
  cat "$output"
  exit $status
fi
exec "$ZEV_WINE_BIN" "$@"
