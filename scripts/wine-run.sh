#!/usr/bin/env bash
# Runs a Windows executable under Wine: ctest uses it as the cross-compiling emulator, the scripts as $ZEV_WINE.
# The caller's WINEPREFIX is used; without one, the prefix of the build tree that holds the exe.
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
exec "$ZEV_WINE_BIN" "$@"
