#!/usr/bin/env bash
# The release packages in dist/ as a user gets them. Usage:
#   package_test.sh contents|installer|zip <source root> <dist> <win64 debug tree>
# contents: both architectures' zips and installers and the program in them, without running anything.
# installer, zip: the x64 ones under Wine (DISPLAY and the test run's prefix), with zevdrive and the
# simulated driver of the debug tree; the driver sits beside the program only while the test runs it.
set -uo pipefail
what=$1 root=$2 dist=$3 tree=$4
if [ "$what" != contents ] && { [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; }; then
  echo "needs the test run's Wine prefix and display: run it through scripts/test.sh"; exit 1
fi
wine=${ZEV_WINE:-wine}
version=$(sed -n 's/^project(ZEVConfig VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
work="$tree/package-test/$what"
rm -rf "$work" && mkdir -p "$work"
MAIN="ZEV Config  -  Vantoro "
SETUP="Instalaci*" # "Instalación de ZEV Config"
CR=$'\r'
passed=0 failed=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; passed=$((passed + 1)); else echo "FAIL - $what"; failed=$((failed + 1)); fi
}
same() { [ "$1" = "$2" ] || { printf 'got:\n%s\nwanted:\n%s\n' "$1" "$2"; return 1; }; }
lines() { printf '%s\n' "$@"; }
has() { grep -q "$1" <("${@:2}" 2>&1); } # pattern, command...
drive() { "$wine" "$tree/bin/zevdrive.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
sees() { drive "$@" >/dev/null; }
# A window of that caption shows that text within a minute (windows of one caption may come and go).
shows() { for _ in $(seq 60); do sees wait-child-text "$1" "$2" 1000 && return 0; sleep 1; done; return 1; }
wpath() { "$wine" winepath.exe "$@" 2>/dev/null | tr -d '\r'; }
ended() { for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done; return 1; }

run_program() { # Windows path of the exe, label: started from another folder, seen, closed
  local dir; dir=$(dirname "$(wpath -u "$1")")
  cp "$tree/stage/FTD2XX.DLL" "$dir/"
  (cd "$work" && exec "$wine" "$1" >/dev/null 2>&1) &
  local app=$!
  check "$2: the main window opens, skinned and disconnected" \
    eval 'sees wait "$MAIN" 20000 && sees wait-child-text "$MAIN" Desconectado 3000'
  drive close "$MAIN"
  check "$2: closing it ends the program" ended $app
  rm -f "$dir/FTD2XX.DLL"
}

contents() {
  local arch zip fmt tool z setup top exe a b c d
  IFS=. read -r a b c d <<<"$version"
  local quad="$a, ${b:-0}, ${c:-0}, ${d:-0}"
  for arch in x64 x86; do
    case $arch in
      x64) zip=win64 fmt=pei-x86-64 tool=x86_64-w64-mingw32 ;;
      x86) zip=win32 fmt=pei-i386 tool=i686-w64-mingw32 ;;
    esac
    z="$dist/ZEVConfig-$version-$zip.zip" setup="$dist/ZEVConfig-$version-setup-$arch.exe" top=ZEVConfig-$version-$zip
    check "$zip zip: exactly the program folder" same "$(unzip -Z1 "$z" | sort)" \
      "$(lines "$top/" "$top/LEEME.txt" "$top/ZEVConfig.exe" "$top/imagenes/" "$top/imagenes/Skin_VBNET.bmp")"
    unzip -q "$z" -d "$work/$arch"
    exe="$work/$arch/$top/ZEVConfig.exe"
    check "$zip zip: LEEME.txt names the driver, CRLF line ends" \
      eval 'grep -q "controlador D2XX de FTDI" "${exe%/*}/LEEME.txt" && ! grep -qv "$CR$" "${exe%/*}/LEEME.txt"'
    check "$arch installer: exactly the program, its skin and the uninstaller" \
      same "$(7z l -slt "$setup" | sed -n 's/^Path = //p' | grep -vxF "$setup" | grep -v '^\$PLUGINSDIR/' | sort)" \
      "$(lines Desinstalar.exe ZEVConfig.exe imagenes/Skin_VBNET.bmp)"
    check "$arch installer: installs the zip's program" cmp -s <(7z e -so "$setup" ZEVConfig.exe) "$exe"
    check "$arch installer: a $fmt Unicode NSIS installer" \
      eval 'has "format $fmt" "$tool-objdump" -f "$setup" && has "SubType = NSIS-3 Unicode" 7z l "$setup"'
    check "$arch program: $fmt, stripped" \
      eval 'has "format $fmt" "$tool-objdump" -f "$exe" && has "no symbols" "$tool-objdump" -t "$exe"'
    check "$arch program: imports system DLLs only" same "$("$tool-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
      grep -viE '^(kernel32|user32|gdi32|comctl32|msimg32|oleaut32|ole32|advapi32|shell32|msvcrt)\.dll$')" ""
    check "$arch program: version resource of version $version" same "$("$tool-windres" -i "$exe" -O rc 2>/dev/null |
      sed -n '/VERSIONINFO/,/^END/p' | grep -oE 'VERSION [0-9, ]+|"(Company|Product)Name", "[^"]*"|"[A-Za-z]+Version", "[^"]*"')" \
      "$(lines "VERSION $quad" "VERSION $quad" '"CompanyName", "Vantoro"' "\"FileVersion\", \"$version\"" \
        '"ProductName", "ZEV Config"' "\"ProductVersion\", \"$version\"")"
  done
}

installer() {
  local setup="$dist/ZEVConfig-$version-setup-x64.exe" drive_c="$WINEPREFIX/drive_c" folder='C:\Program Files\ZEV Config'
  local programs="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" driver="$drive_c/windows/system32/FTD2XX.DLL"
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEVConfig' app target dir entry
  reg_value() { "$wine" reg.exe query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
  leftovers() { ls "$drive_c/Program Files" "$programs" | grep -i zev; "$wine" reg.exe query "$key" >/dev/null 2>&1 && echo "$key"; }
  # What an earlier run that died half-way left behind must not decide this one.
  rm -rf "$(wpath -u "$folder")" "$programs/ZEV Config.lnk" "$driver"
  "$wine" reg.exe delete "$key" /f >/dev/null 2>&1

  # The driver check comes before the wizard: a message when FTD2XX.DLL is missing, then the wizard.
  ("$wine" "$setup" >/dev/null 2>&1) &
  app=$!
  check "no driver: the installer says the FTDI D2XX driver is needed" shows "$SETUP" "D2XX de FTDI"
  drive close "$SETUP"
  check "no driver: the installation goes on" shows "$SETUP" "Siguiente"
  drive close "$SETUP"
  check "no driver: cancelling ends the installer" ended $app
  cp "$tree/stage/FTD2XX.DLL" "$driver"
  ("$wine" "$setup" >/dev/null 2>&1) &
  app=$!
  check "driver present: the wizard comes without a message" shows "$SETUP" "Siguiente"
  drive close "$SETUP"
  check "driver present: cancelling ends the installer" ended $app
  rm -f "$driver"

  check "silent install succeeds without the driver" "$wine" "$setup" /S
  target=$(drive link-target "$(wpath -w "$programs/ZEV Config.lnk")")
  check "the Start-menu shortcut starts the program in Program Files" same "$target" "$folder\\ZEVConfig.exe"
  dir=$(wpath -u "$folder")
  check "exactly the program, its skin and the uninstaller are installed" \
    same "$(cd "$dir" && find . -type f | sort)" "$(lines ./Desinstalar.exe ./ZEVConfig.exe ./imagenes/Skin_VBNET.bmp)"
  local kb=$(($(cat "$dir/ZEVConfig.exe" "$dir/imagenes/Skin_VBNET.bmp" "$dir/Desinstalar.exe" | wc -c) / 1024))
  for entry in "DisplayName=ZEV Config" "DisplayVersion=$version" "Publisher=Vantoro" \
    "DisplayIcon=\"$folder\\ZEVConfig.exe\",0" "UninstallString=\"$folder\\Desinstalar.exe\"" \
    "QuietUninstallString=\"$folder\\Desinstalar.exe\" /S" "EstimatedSize=$(printf '0x%x' $kb)"; do
    check "registered for removal: $entry" same "$(reg_value "${entry%%=*}")" "${entry#*=}"
  done
  run_program "$target" installed
  check "the registered silent uninstall succeeds" drive run-wait "$(reg_value QuietUninstallString)" 60000
  check "nothing of the program is left in Program Files, the Start menu or the Uninstall key" same "$(leftovers)" ""
}

unpacked() {
  unzip -q "$dist/ZEVConfig-$version-win64.zip" -d "$work"
  run_program "$(wpath -w "$work/ZEVConfig-$version-win64/ZEVConfig.exe")" "unpacked zip"
}

case $what in
  contents | installer) "$what" ;;
  zip) unpacked ;;
esac
echo "package $what: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
