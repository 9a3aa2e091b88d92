#!/usr/bin/env bash
# Builds what a Windows user gets, into dist/: for x64 and for x86 a portable zip and an installer,
#   ZEVConfig-<version>-win64.zip, ZEVConfig-<version>-win32.zip,
#   ZEVConfig-<version>-setup-x64.exe, ZEVConfig-<version>-setup-x86.exe,
# from optimised, stripped release builds in their own trees ($build/win64-release, $build/win32-release),
# apart from the debug trees the tests use. The version is the one in CMakeLists.txt's project().
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEV_BUILD_ROOT:-build}
dist="$root/dist"
cd "$root"
bash scripts/install-deps.sh
mkdir -p "$dist"
# Packages of an earlier version or of a half-finished run must not pass for this one's.
rm -f "$dist"/ZEVConfig-*

for arch in x64 x86; do
  case $arch in
    x64) tree=win64-release toolchain=mingw64 zipname=win64 bits=64 ;;
    x86) tree=win32-release toolchain=mingw32 zipname=win32 bits=32 ;;
  esac
  dir="$root/$build/$tree"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DZEV_BUILD_TESTS=OFF >/dev/null
  fi
  echo "== building $tree"
  # The program and what it needs; the simulated driver never goes into a package.
  cmake --build "$dir" --target ZEVConfig
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
  name=ZEVConfig-$version-$zipname

  # The program folder exactly as the user gets it, picked file by file from the staged build.
  payload="$dir/package/$name"
  rm -rf "$dir/package" && mkdir -p "$payload/imagenes"
  cp "$dir/stage/ZEVConfig.exe" "$payload/"
  cp "$dir/stage/imagenes/Skin_VBNET.bmp" "$payload/imagenes/"
  # Notepad on every Windows version reads UTF-8 with a byte-order mark and CRLF line ends.
  sed -e "s/@VERSION@/$version/; s/@BITS@/$bits/; s/\$/\r/" -e '1s/^/\xEF\xBB\xBF/' \
    packaging/LEEME.txt.in >"$payload/LEEME.txt"

  (cd "$dir/package" && zip -qrX "$dist/$name.zip" "$name")
  # makensis's account of every command it compiled stays beside the payload: the package checks read
  # each installer's shortcut and registry view there, also where the x86 one cannot run.
  makensis -V4 -INPUTCHARSET UTF8 -DVERSION="$version" -DARCH=$arch -DPAYLOAD="$payload" \
    -DICON="$root/resources/console/principal.ico" -DOUTFILE="$dist/ZEVConfig-$version-setup-$arch.exe" \
    packaging/installer.nsi >"$dir/package/makensis.log" || { tail -20 "$dir/package/makensis.log"; exit 1; }
  grep -i 'warning' "$dir/package/makensis.log" || true
done
ls -l "$dist"/ZEVConfig-*
