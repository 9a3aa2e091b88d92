#!/usr/bin/env bash
# The release packages in dist/ as a user gets them. Usage:
#   package_test.sh contents|installer-x64|installer-x86|zip-x64|zip-x86 <source root> <dist> <debug tree>
# (the debug tree of the architecture run: win64 or win32)
# contents: both architectures' zips and installers and the program in them, without running anything.
# installer-*, zip: run under Wine (DISPLAY and the test run's prefix), with zevdrive and the simulated
# driver of the debug tree; the driver sits beside the program only while the test runs it. Windows
# processes read /dev/null and write files, and end on every way out, with what they started in turn.
set -uo pipefail
what=$1 root=$2 dist=$3 tree=$4
if [ "$what" != contents ] && { [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; }; then
  echo "needs the test run's Wine prefix and display: run it through scripts/test.sh"; exit 1
fi
wine=${ZEV_WINE:-wine}
version=$(sed -n 's/^project(ZEVConfig VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
work="$tree/package-test/$what"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
MAIN="ZEV Config  -  Vantoro "
SETUP="Instalaci*"  # "Instalación de ZEV Config"
UNINST="Desinstal*" # "Desinstalación de ZEV Config"
CR=$'\r'
passed=0 failed=0 started=() look=()

# The Windows processes this test started, and those they started (Wine shows their Windows command
# line): of this prefix, naming the installed program or uninstaller, a package or a temporary copy.
stop_all() {
  local p pids=("${started[@]}")
  for p in /proc/[0-9]*; do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "$p/environ" 2>/dev/null &&
      grep -qzE '\\(ZEV Config|ZEVConfig-|~nsu)' "$p/cmdline" 2>/dev/null && pids+=("${p#/proc/}")
  done
  ((${#pids[@]} == 0)) || kill -KILL "${pids[@]}" 2>/dev/null
  started=()
}
[ "$what" = contents ] || trap stop_all EXIT

# A failing step shows the windows the current steps involve (captions in $look).
check() { # description, command...
  local what=$1 c t; shift
  if "$@"; then echo "ok - $what"; passed=$((passed + 1)); return 0; fi
  echo "FAIL - $what"; failed=$((failed + 1))
  for c in "${look[@]}"; do
    t=$(drive tree "$c") && printf 'windows "%s":\n%s\n' "$c" "$t" || echo "no window \"$c\""
  done
  return 1
}
same() { [ "$1" = "$2" ] || { printf 'got:\n%s\nwanted:\n%s\n' "$1" "$2"; return 1; }; }
status() { "${@:2}" >/dev/null; local s=$?; [ $s = "$1" ] || { echo "exit status $s, wanted $1"; return 1; }; }
lines() { printf '%s\n' "$@"; }
has() { grep -q "$1" <("${@:2}" 2>&1); } # pattern, command...
# Polls until the command succeeds, at most that many seconds.
until_ok() { # seconds, what it waits for, command...
  local end=$((SECONDS + $1))
  until "${@:3}"; do
    ((SECONDS < end)) || { echo "gave up after $1 s waiting for $2"; return 1; }
    sleep 0.2
  done
}
start() { "$wine" "$@" </dev/null >>"$work/wine.log" 2>&1 & app=$! started+=($!); } # program, arguments
out() { # program, arguments: run to its end (at most two minutes); prints its output, CRs dropped
  timeout -s KILL 120 "$wine" "$@" </dev/null >"$work/out" 2>>"$work/wine.log"
  local s=$?
  [ $s != 137 ] || echo "gave up after 120 s waiting for $* to end" >&2
  tr -d '\r' <"$work/out"; return $s
}
drive() { out "$tree/bin/zevdrive.exe" "$@"; }
sees() { drive "$@" >/dev/null; }
# A window of that caption shows that text within a minute (windows of one caption may come and go).
shows() { until_ok 60 "a window \"$1\" showing \"$2\"" sees wait-child-text "$1" "$2" 1000; }
wpath() { out winepath.exe "$@"; }
ended() { until_ok 30 "process $1 to end" eval "! kill -0 $1 2>/dev/null" || { kill -KILL "$1"; return 1; }; } # pid
exited() { ended "$2" && { wait "$2"; same "exit status $?" "exit status $1"; }; }  # status, pid
click() { local x y; read -r x y < <(drive center "$1" "$2") && [ -n "$y" ] && xdotool mousemove "$x" "$y" click 1; }

open_program() { # Windows path of the exe, label: started from another folder, seen
  program_dir=$(dirname "$(wpath -u "$1")")
  cp "$tree/stage/FTD2XX.DLL" "$program_dir/"
  start "$1" && program=$app
  check "$2: the main window opens, skinned and disconnected" \
    eval 'sees wait "$MAIN" 20000 && sees wait-child-text "$MAIN" Desconectado 3000'
}
close_program() { # label
  drive close "$MAIN"
  check "$1: closing it ends the program" ended "$program"
  rm -f "$program_dir/FTD2XX.DLL"
}

contents() {
  local arch zip fmt tool z setup top exe a b c d view shortcut
  IFS=. read -r a b c d <<<"$version"
  local quad="$a, ${b:-0}, ${c:-0}, ${d:-0}"
  for arch in x64 x86; do
    case $arch in
      x64) zip=win64 fmt=pei-x86-64 tool=x86_64-w64-mingw32 view=$'SetRegView: 64\n' shortcut="ZEV Config" ;;
      x86) zip=win32 fmt=pei-i386 tool=i686-w64-mingw32 view= shortcut="ZEV Config (32 bits)" ;;
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
    # Side by side, the two architectures' shortcuts and entries must not be one another's: what
    # makensis compiled (scripts/package.sh keeps its account beside the payload).
    check "$arch installer: shortcut \"$shortcut\" made and removed, entry in the $arch registry view" \
      same "$(grep -E '^(SetRegView|CreateShortcut|Delete: "\$SMPROGRAMS)' "${tree%/*}/$zip-release/package/makensis.log" |
        sed 's/ *icon:.*//')" "${view}CreateShortcut: \"\$SMPROGRAMS\\$shortcut.lnk\"->\"\$INSTDIR\\ZEVConfig.exe\"
${view}Delete: \"\$SMPROGRAMS\\$shortcut.lnk\""
    check "$arch program: $fmt, stripped" \
      eval 'has "format $fmt" "$tool-objdump" -f "$exe" && has "no symbols" "$tool-objdump" -t "$exe"'
    check "$arch program: imports system DLLs only" same "$("$tool-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
      grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|msimg32|oleacc|oleaut32|ole32|advapi32|shell32|msvcrt)\.dll$')" ""
    check "$arch program: version resource of version $version" same "$("$tool-windres" -i "$exe" -O rc 2>/dev/null |
      sed -n '/VERSIONINFO/,/^END/p' | grep -oE 'VERSION [0-9, ]+|"(Company|Product)Name", "[^"]*"|"[A-Za-z]+Version", "[^"]*"')" \
      "$(lines "VERSION $quad" "VERSION $quad" '"CompanyName", "Vantoro"' "\"FileVersion\", \"$version\"" \
        '"ProductName", "ZEV Config"' "\"ProductVersion\", \"$version\"")"
  done
}

installer() { # x64 | x86
  local arch=$1 folder title other view other_view system c
  # A 32-bit program's System32 is the 64-bit system's SysWOW64: there it looks for the driver.
  case $arch in
    x64) folder='C:\Program Files\ZEV Config' title="ZEV Config" other="ZEV Config (32 bits)" view=64 other_view=32 system=system32 ;;
    x86) folder='C:\Program Files (x86)\ZEV Config' title="ZEV Config (32 bits)" other="ZEV Config" view=32 other_view=64 system=syswow64 ;;
  esac
  local setup="$dist/ZEVConfig-$version-setup-$arch.exe" drive_c="$WINEPREFIX/drive_c" dir target before empty
  local programs="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" driver="$drive_c/windows/$system/FTD2XX.DLL"
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEVConfig'
  dir=$(wpath -u "$folder")
  reg_value() { out reg.exe query "$key" /v "$1" /reg:$view | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
  # Files with their sizes, the Start-menu shortcuts and both registry views' entries.
  state() {
    [ ! -d "$dir" ] || (cd "$dir" && find . -type f -printf '%p %s\n' | sort)
    ls "$programs" | grep 'ZEV'
    out reg.exe query "$key" /reg:$view
    out reg.exe query "$key" /reg:$other_view
  } 2>/dev/null
  # What an earlier run that died half-way left behind must not decide this one.
  rm -rf "$dir" "$programs/$title.lnk" "$programs/$other.lnk" "$driver" "$drive_c"/users/*/Temp/{ns,~nsu}*.tmp
  out reg.exe delete "$key" /f /reg:$view >/dev/null 2>&1

  # The driver check comes before the wizard: a message when FTD2XX.DLL is missing, then the wizard.
  look=("$SETUP")
  for c in "no driver" "driver present"; do
    start "$setup"
    [ "$c" != "no driver" ] ||
      { check "$c: the installer says the FTDI D2XX driver is needed" shows "$SETUP" "D2XX de FTDI" && drive close "$SETUP"; }
    check "$c: the wizard comes" shows "$SETUP" "Siguiente"
    drive close "$SETUP"
    check "$c: cancelling ends the installer" ended $app
    cp "$tree/stage/FTD2XX.DLL" "$driver" # for the next round
  done
  rm -f "$driver"

  # The other architecture's shortcut and entry, as its installation leaves them: never this one's.
  : >"$programs/$other.lnk"
  out reg.exe add "$key" /v DisplayName /d "$other" /f /reg:$other_view >/dev/null
  empty=$(state)
  check "silent install succeeds without the driver" status 0 out "$setup" /S
  target=$(drive link-target "$(wpath -w "$programs/$title.lnk")")
  check "the Start-menu shortcut \"$title\" starts the program in Program Files" same "$target" "$folder\\ZEVConfig.exe"
  local kb=$(($(cat "$dir/ZEVConfig.exe" "$dir/imagenes/Skin_VBNET.bmp" "$dir/Desinstalar.exe" | wc -c) / 1024))
  for c in "DisplayName=$title" "DisplayVersion=$version" "Publisher=Vantoro" \
    "DisplayIcon=\"$folder\\ZEVConfig.exe\",0" "UninstallString=\"$folder\\Desinstalar.exe\" _?=$folder" \
    "QuietUninstallString=\"$folder\\Desinstalar.exe\" /S _?=$folder" "EstimatedSize=$(printf '0x%x' $kb)"; do
    check "registered for removal: $c" same "$(reg_value "${c%%=*}")" "${c#*=}"
  done

  # While the program runs, its files can be neither replaced nor removed: nothing changes.
  open_program "$target" installed
  before=$(state)
  look=("$MAIN" "$SETUP" "$UNINST")
  check "program running: a silent installation refuses (ERROR_SHARING_VIOLATION)" status 32 out "$setup" /S
  check "program running: the silent uninstall refuses (ERROR_SHARING_VIOLATION)" \
    status 32 drive run-wait "$(reg_value QuietUninstallString)" 60000
  start "$tree/bin/zevdrive.exe" run-wait "$(reg_value UninstallString)" 120000
  check "program running: the uninstaller asks to close it" same "$(shows "$UNINST" "se est" && drive wait-child-text "$UNINST" "se est")" \
    "ZEV Config se está ejecutando. Ciérrelo y pulse Reintentar."
  check "program running: Cancelar ends the uninstaller" eval 'click "$UNINST" Cancelar && exited 32 $app'
  check "program running: every file, the shortcut and both entries stay" same "$(state)" "$before"
  close_program installed
  # Started once the uninstaller has asked (on its confirmation page): still nothing goes.
  start "$tree/bin/zevdrive.exe" run-wait "$(reg_value UninstallString)" 120000
  local uninstaller=$app
  check "started later: the uninstaller asks for confirmation" shows "$UNINST" "Desinstalar"
  open_program "$target" "started later"
  check "started later: Desinstalar, then the uninstaller asks to close it" eval 'click "$UNINST" "&Desinstalar" && shows "$UNINST" "se est"'
  check "started later: Cancelar, then the uninstaller ends" \
    eval 'click "$UNINST" Cancelar && shows "$UNINST" Anulada && click "$UNINST" Cancelar && exited 32 $uninstaller'
  check "started later: every file, the shortcut and both entries stay" same "$(state)" "$before"
  close_program "started later"

  check "the registered silent uninstall succeeds" status 0 drive run-wait "$(reg_value QuietUninstallString)" 60000
  check "nothing of the program is left; the other architecture's shortcut and entry stay" same "$(state)" "$empty"
  rm -f "$programs/$other.lnk"; out reg.exe delete "$key" /f /reg:$other_view >/dev/null
}

unpacked() { # win64 | win32
  unzip -q "$dist/ZEVConfig-$version-$1.zip" -d "$work"
  look=("$MAIN")
  open_program "$(wpath -w "$work/ZEVConfig-$version-$1/ZEVConfig.exe")" "unpacked $1 zip"
  close_program "unpacked $1 zip"
}

case $what in
  contents) contents ;;
  installer-x64 | installer-x86) installer "${what#installer-}" ;;
  zip-x64) unpacked win64 ;;
  zip-x86) unpacked win32 ;;
esac
echo "package $what: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
