#!/usr/bin/env bash
# Says in one line when the current user cannot open serial ports (/dev/ttyUSB* belong to the
# dialout group), with the command that fixes it. Looks at the user's groups, not at the ports:
# nothing may be plugged in yet. Exit status 1 when the line was printed.
user=$(id -un)
[ "$(id -u)" = 0 ] && exit 0
# The groups of this login, then those the user database gives for a new login.
if id -nG | tr ' ' '\n' | grep -qx dialout; then exit 0; fi
if id -nG "$user" | tr ' ' '\n' | grep -qx dialout; then
  echo "Serial ports: '$user' is in the dialout group, but this login started before that: log out and in again (a new login is needed)."
else
  echo "Serial ports: '$user' is not in the dialout group, so no device can be opened: run 'sudo usermod -aG dialout $user', then log out and in again (a new login is needed)."
fi
exit 1
