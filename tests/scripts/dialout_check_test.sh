#!/usr/bin/env bash
# The one line run.sh --hardware prints for a user who cannot open serial ports, as an unprivileged
# user meets it (the test run is root, which may open anything and is never told).
# Usage: dialout_check_test.sh <scripts/dialout-check.sh>
set -uo pipefail
check=$1
[ "$(id -u)" = 0 ] || { echo "skipped: switching to an unprivileged user needs root"; exit 77; }
user=nobody
fail() { echo "FAIL - $1"; exit 1; }
out=$(runuser -u "$user" -- bash "$check")
status=$?
[ "$status" = 1 ] && [ "$(wc -l <<<"$out")" = 1 ] || fail "want one line and status 1, got $status: $out"
grep -qF "sudo usermod -aG dialout $user" <<<"$out" || fail "the command that fixes it is missing: $out"
grep -qF "new login is needed" <<<"$out" || fail "the new login is not mentioned: $out"
out=$(runuser -u "$user" -g dialout -- bash "$check")
[ $? = 0 ] && [ -z "$out" ] || fail "a login in the dialout group is told something: $out"
out=$(bash "$check")
[ $? = 0 ] && [ -z "$out" ] || fail "root is told something: $out"
echo "ok - the dialout line for '$user', silence in the dialout group and for root"
