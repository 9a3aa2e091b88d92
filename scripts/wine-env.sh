# Sourced by the scripts that run Windows binaries: one Wine prefix per build tree, set up once.
# Usage: source scripts/wine-env.sh <build-tree> [dpi]
# A dpi other than 96 gets a prefix of its own (wineprefix-<dpi>) whose display scale is that dpi, so
# the 96-dpi prefix of the same tree stays as it is.
zev_tree=$(cd "$1" && pwd)
zev_dpi=${2:-96}
if [ "$zev_dpi" = 96 ]; then export WINEPREFIX="$zev_tree/wineprefix"; else export WINEPREFIX="$zev_tree/wineprefix-$zev_dpi"; fi
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono/Gecko installer dialogs: the program uses neither. No desktop menu entries in $HOME for the
# Start-menu shortcut the installer tests create.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Debian puts the 64-bit loader here, and the 32-bit one (wine32:i386) beside it as "wine";
# wine-run.sh picks the one for each program.
if [ -x /usr/lib/wine/wine64 ]; then ZEV_WINE_BIN=/usr/lib/wine/wine64; else ZEV_WINE_BIN=wine; fi
# Every Wine process starts through wine-run.sh, which gives it the session's locale.
ZEV_WINE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-run.sh"
export ZEV_WINE ZEV_WINE_BIN

# What a prefix is made with: a prefix made before 32-bit Wine was installed fails every program,
# 64-bit ones too ("could not load kernel32.dll"), so a prefix records it and is made again when it
# changed.
zev_wine_flavour() {
  local version
  version=$("$ZEV_WINE_BIN" --version 2>/dev/null)
  if [ -x /usr/lib/wine/wine ]; then echo "$version, 64-bit and 32-bit"; else echo "$version, 64-bit only"; fi
}

# Makes the prefix when it is missing or was made with another Wine; fails when Wine cannot.
zev_wine_prefix_setup() {
  local flavour
  flavour=$(zev_wine_flavour)
  if [ "$(cat "$WINEPREFIX/.zev-ready" 2>/dev/null)" != "$flavour" ]; then
    echo "setting up Wine prefix $WINEPREFIX ($flavour)"
    rm -rf "$WINEPREFIX"
    wineserver -k >/dev/null 2>&1 || true
    "$ZEV_WINE" wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
    if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] ||
      { [ -x /usr/lib/wine/wine ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; }; then
      echo "Wine could not set up the prefix $WINEPREFIX" >&2
      return 1
    fi
    # Debian's Wine does not find its own fonts without this.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    local reg="$WINEPREFIX.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Courier New"="Liberation Mono"
"Verdana"="DejaVu Sans"
"MS Sans Serif"="Liberation Sans"
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$zev_dpi" >>"$reg"
    "$ZEV_WINE" regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    echo "$flavour" >"$WINEPREFIX/.zev-ready"
  fi
}

# A persistent server: otherwise every Windows process pays the server start-up and the server
# inherits (and holds open) the output pipe of whoever started it.
zev_wineserver_start() {
  wineserver -p >/dev/null 2>&1 </dev/null
  "$ZEV_WINE" wineboot >/dev/null 2>&1 </dev/null || true
}

zev_wineserver_stop() {
  wineserver -k >/dev/null 2>&1 || true
}

# Ends every process of this prefix whose command line holds the folder $1 (one that only the
# caller uses: its stage or work folder), then waits until they are gone. A Windows program started
# by another Windows program (a measurer, an installer) is not the script's child: it is found in
# /proc by its command line, which names the program by its Windows path, and by this WINEPREFIX.
# For the traps of scripts that start programs, so every exit path ends what they started.
zev_wine_kill() { # folder (Unix path)
  local unix=$1 windows="Z:${1//\//\\}" d pids=() pid _
  for d in /proc/[0-9]*; do
    grep -qaF -e "$unix" -e "$windows" "$d/cmdline" 2>/dev/null || continue
    tr '\0' '\n' <"$d/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    [ "${d#/proc/}" != $$ ] && [ "${d#/proc/}" != "$BASHPID" ] && pids+=("${d#/proc/}")
  done
  ((${#pids[@]})) || return 0
  kill "${pids[@]}" 2>/dev/null
  for _ in $(seq 50); do
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && break; pid=; done
    [ -z "$pid" ] && return 0
    sleep 0.1
  done
  kill -9 "${pids[@]}" 2>/dev/null
  return 0
}
