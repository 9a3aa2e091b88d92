#!/usr/bin/env bash
# Rebuilds the committed generated bitmaps: runs every generator of the native tree into resources/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEV_BUILD_ROOT:-build}
bash "$root/scripts/build.sh" native
for g in "$root/$build/native/bin/"*_gen; do
  [ -x "$g" ] || continue
  echo "== $(basename "$g")"
  "$g" "$root/resources"
done
