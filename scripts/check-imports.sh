#!/usr/bin/env bash
# Checks that a built program imports none of the named functions statically: a function Windows
# may lack must be looked up at run time, or the program does not start at all where it is missing.
# Usage: check-imports.sh <objdump> <exe> <function>...
set -euo pipefail
objdump=$1 exe=$2
shift 2
imports=$("$objdump" -p "$exe" | awk '/^\tDLL Name:/{t=1;next} t&&/^$/{t=0} t&&NF>=2&&$1~/^[0-9a-f]+$/{print $NF}')
[ -n "$imports" ] || { echo "$exe: no import table read"; exit 1; }
status=0
for f in "$@"; do
  if grep -qx "$f" <<<"$imports"; then echo "$exe imports $f statically"; status=1; fi
done
[ $status -eq 0 ] && echo "$exe: $(wc -l <<<"$imports") imported functions, none of: $*"
exit $status
