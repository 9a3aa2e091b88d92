#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only when something is missing: 32-bit
# Wine too, where the kernel runs 32-bit programs (else it says in one line why the x86 runs are
# skipped). A failed install fails.
set -euo pipefail
source "$(dirname "$0")/x86.sh"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
pkgs=(
  cmake ninja-build g++ clang-14 libclang-rt-14-dev python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest libbenchmark-dev
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  fonts-dejavu-core fonts-liberation
  nsis zip unzip p7zip-full locales
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# The x86 program, its tests and its installer run under Debian's 32-bit Wine, beside the 64-bit one.
# (Wine prefixes made before it was installed are made again: scripts/wine-env.sh.)
x86_kernel=$(zev_x86_kernel_reason)
if [ -n "$x86_kernel" ]; then
  echo "x86 runtime tests skipped: $x86_kernel"
elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  echo "installing: wine32:i386 (32-bit Wine)"
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq wine32:i386 >/dev/null
fi
# The program runs in Spanish (es-ES) and the tests also check an English (en-US) format: Wine takes
# the regional format from the process's locale, which must exist on the system.
wanted_locales=()
for l in es_ES en_US; do
  locale -a 2>/dev/null | grep -qx "$l.utf8" || wanted_locales+=("$l")
done
if ((${#wanted_locales[@]})); then
  echo "generating locales: ${wanted_locales[*]}"
  for l in "${wanted_locales[@]}"; do
    $SUDO sed -i "s/^# *\($l.UTF-8 UTF-8\)\$/\1/" /etc/locale.gen
    grep -qx "$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
