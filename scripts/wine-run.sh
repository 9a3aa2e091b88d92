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
if ((via_file)); then
  output=$(mktemp)
  trap 'rm -f "$output"' EXIT
  "$ZEV_WINE_BIN" "$@" </dev/null >"$output" 2>&1
  status=$?
  cat "$output"
  exit $status
fi
exec "$ZEV_WINE_BIN" "$@"
