# Sourced by the scripts that run Windows binaries: one Wine prefix per build tree, set up once.
# Usage: source scripts/wine-env.sh <build-tree>
zev_tree=$(cd "$1" && pwd)
export WINEPREFIX="$zev_tree/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono/Gecko installer dialogs: the program uses neither. No desktop menu entries in $HOME for the
# Start-menu shortcut the installer tests create.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Debian puts the 64-bit loader here; /usr/bin/wine is a wrapper that also wants 32-bit Wine.
if [ -x /usr/lib/wine/wine64 ]; then ZEV_WINE=/usr/lib/wine/wine64; else ZEV_WINE=wine; fi
export ZEV_WINE

zev_wine_prefix_setup() {
  if [ ! -f "$WINEPREFIX/.zev-ready" ]; then
    echo "setting up Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineserver -k >/dev/null 2>&1 || true
    "$ZEV_WINE" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Debian's Wine does not find its own fonts without this.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    local reg="$zev_tree/zev-prefix.reg"
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
    "$ZEV_WINE" regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.zev-ready"
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
