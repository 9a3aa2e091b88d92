#!/usr/bin/env bash
# Configures and builds the named trees under build/: native, win64, win32, fuzz (default: all four).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Separate build roots let several checkouts or developers build side by side.
build=${ZEV_BUILD_ROOT:-build}
trees=("$@"); ((${#trees[@]})) || trees=(native win64 win32 fuzz)
for t in "${trees[@]}"; do
  case $t in
    native) args=() ;;
    # Fuzz targets need clang's libFuzzer.
    fuzz) args=(-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DZEV_FUZZ=ON -DZEV_BUILD_TESTS=OFF) ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake") ;;
    # The x86 program and its tests: they run under 32-bit Wine where the machine has it.
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" -DZEV_BUILD_TESTS=ON) ;;
    *) echo "unknown tree $t" >&2; exit 2 ;;
  esac
  # Configured every time: a tree configured with other options (or by an older script) takes these.
  cmake -S "$root" -B "$root/$build/$t" -G Ninja "${args[@]}" >/dev/null
  echo "== building $t"
  cmake --build "$root/$build/$t"
done
