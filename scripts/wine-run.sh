#!/usr/bin/env bash
# Runs a Windows executable under Wine; ctest uses it as the cross-compiling emulator.
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
if [ -z "${ZEV_WINE:-}" ]; then
  if [ -x /usr/lib/wine/wine64 ]; then ZEV_WINE=/usr/lib/wine/wine64; else ZEV_WINE=wine; fi
fi
exec "$ZEV_WINE" "$@"
