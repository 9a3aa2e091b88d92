#!/usr/bin/env bash
# Checks that a built FTD2XX.DLL exports the eleven driver functions under their plain names, as
# the vendor's DLL does (on x86: undecorated stdcall names, no "@12" suffix).
# Usage: check-exports.sh <objdump> <dll> <expected machine: i386|x86-64>
set -euo pipefail
objdump=$1 dll=$2 machine=$3
fmt=$("$objdump" -f "$dll" | sed -n 's/.*file format //p')
case "$machine" in
  i386) [ "$fmt" = pei-i386 ] || { echo "not a 32-bit DLL: $fmt"; exit 1; } ;;
  x86-64) [ "$fmt" = pei-x86-64 ] || { echo "not a 64-bit DLL: $fmt"; exit 1; } ;;
esac
exports=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}')
status=0
for f in FT_ListDevices FT_OpenEx FT_SetBaudRate FT_SetDataCharacteristics FT_SetFlowControl FT_SetTimeouts \
         FT_SetChars FT_GetQueueStatus FT_Read FT_Write FT_Close; do
  if ! grep -qx "$f" <<<"$exports"; then echo "missing export $f"; status=1; fi
done
if grep -q '@' <<<"$exports"; then echo "decorated export names:"; grep '@' <<<"$exports"; status=1; fi
[ $status -eq 0 ] && echo "$dll ($fmt): $(wc -l <<<"$exports") exports, all eleven driver functions undecorated"
exit $status
