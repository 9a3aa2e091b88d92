#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only when something is missing.
set -euo pipefail
pkgs=(
  cmake ninja-build g++ clang-14 libclang-rt-14-dev python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest libbenchmark-dev
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  fonts-dejavu-core fonts-liberation
  nsis zip unzip p7zip-full
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
