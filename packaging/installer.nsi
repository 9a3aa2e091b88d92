; The ZEV Config installer: a per-machine install into Program Files with a Start-menu shortcut and an
; uninstaller registered with Windows, in Spanish. scripts/package.sh builds it once for each
; architecture:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3 -DARCH=x64|x86 -DPAYLOAD=<folder> -DICON=<.ico>
;            -DOUTFILE=<setup.exe> installer.nsi
; PAYLOAD holds ZEVConfig.exe and imagenes\Skin_VBNET.bmp; nothing else of it is installed.

!ifdef VERSION & ARCH & PAYLOAD & ICON & OUTFILE
!else
  !error "VERSION, ARCH, PAYLOAD, ICON and OUTFILE must be defined"
!endif

Unicode true
!if "${ARCH}" == "x64"
  ; A 64-bit installer: it runs as a 64-bit process, so it sees the real Program Files, System32 and
  ; registry without any redirection.
  Target amd64-unicode
  !define PROGRAM_FOLDER "$PROGRAMFILES64\ZEV Config"
  !define TITLE "ZEV Config"
!else if "${ARCH}" == "x86"
  Target x86-unicode
  ; The 32-bit program belongs where Windows puts 32-bit programs (Program Files (x86) on 64-bit
  ; Windows).
  !define PROGRAM_FOLDER "$PROGRAMFILES\ZEV Config"
  ; Both architectures may be installed side by side: they share the Start menu and the list of
  ; installed programs, where this name tells them apart and keeps each one's shortcut its own.
  !define TITLE "ZEV Config (32 bits)"
!else
  !error "ARCH must be x64 or x86"
!endif

; In the registry view of the installer's architecture (x86: the 32-bit view, WOW6432Node on 64-bit
; Windows), so each architecture has its own entry, and its uninstaller removes only that one.
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEVConfig"
!define UNINSTALLER "Desinstalar.exe"
!define SHORTCUT "$SMPROGRAMS\${TITLE}.lnk"
; The program holds this mutex while it runs (console/main.cpp), under this name in its session and
; under Global\ for the sessions of other users.
!define RUNNING_MUTEX "ZEVConfig.Running.${ARCH}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FOLDER}"
; A new version goes where the last one was installed.
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Vantoro"
ShowInstDetails show
ShowUninstDetails show
; A file that cannot be written stops the installation (silently: with a non-zero exit code) rather
; than leaving the old one in place and reporting success.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1034 "ProductName" "ZEV Config"
VIAddVersionKey /LANG=1034 "CompanyName" "Vantoro"
VIAddVersionKey /LANG=1034 "FileDescription" "Instalación de ZEV Config"
VIAddVersionKey /LANG=1034 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1034 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1034 "LegalCopyright" "© Vantoro"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

LangString NeedAdmin ${LANG_SPANISH} "Para instalar o desinstalar ZEV Config hacen falta permisos de administrador."
LangString ProgramRuns ${LANG_SPANISH} "ZEV Config se está ejecutando. Ciérrelo y pulse Reintentar."
LangString NeedDriver ${LANG_SPANISH} "No se ha encontrado el controlador D2XX de FTDI (FTD2XX.DLL) en la carpeta System32 de Windows.$\r$\n$\r$\nZEV Config lo necesita para comunicarse con los dispositivos ZEV: instálelo desde la página de FTDI antes de usar el programa.$\r$\n$\r$\nLa instalación de ZEV Config continuará."

; Program Files, HKLM and the all-users Start menu need an administrator. Silent runs end with
; ERROR_ELEVATION_REQUIRED so a deployment script can tell.
!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

; The files of a running program can be neither replaced nor deleted: the user closes it and retries,
; or cancels; a silent run refuses at once with ERROR_SHARING_VIOLATION. Either way nothing has changed.
; Opened for SYNCHRONIZE only; one that another user's program created may be refused to us
; (ERROR_ACCESS_DENIED): it exists all the same.
!macro FindRunningMutex name
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${name}") p.r0 ?e'
  Pop $1
  ${If} $0 != 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $2 1
  ${ElseIf} $1 = 5
    StrCpy $2 1
  ${EndIf}
!macroend
!macro WaitWhileProgramRuns
  program_runs:
  StrCpy $2 0
  !insertmacro FindRunningMutex "Global\${RUNNING_MUTEX}"
  !insertmacro FindRunningMutex "${RUNNING_MUTEX}"
  ${If} $2 = 1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRuns)" /SD IDCANCEL IDRETRY program_runs
    SetErrorLevel 32
    Quit
  ${EndIf}
!macroend

Function .onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  SetShellVarContext all
  !insertmacro RequireAdmin
  !insertmacro WaitWhileProgramRuns
  ; The program loads the driver from System32 (for the 32-bit installer on 64-bit Windows, $SYSDIR is
  ; the folder the 32-bit program's System32 is redirected to, which is where the 32-bit driver lives).
  ; Without it the program still runs but finds no device: say so, and go on.
  ${IfNot} ${FileExists} "$SYSDIR\FTD2XX.DLL"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(NeedDriver)" /SD IDOK
  ${EndIf}
FunctionEnd

Section "ZEV Config"
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}/ZEVConfig.exe"
  SetOutPath "$INSTDIR\imagenes"
  File "${PAYLOAD}/imagenes/Skin_VBNET.bmp"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\ZEVConfig.exe"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Vantoro"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$\"$INSTDIR\ZEVConfig.exe$\",0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  ; _?= runs the uninstaller in place rather than from a temporary copy that it starts and leaves at
  ; once, so whoever starts it waits for the end and gets its exit code.
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" _?=$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S _?=$INSTDIR"
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  ; The copy the uninstaller starts when run in place (see below): once that process has ended, it
  ; deletes its file and the folder, then ends. (Itself, a temporary file, goes at the next restart.)
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LIMPIAR=" $R1
  ${IfNot} ${Errors}
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R1) p.r0'
    ${If} $0 != 0
      System::Call 'kernel32::WaitForSingleObject(p r0, i -1)'
      System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete /REBOOTOK "$EXEPATH"
    Quit
  ${EndIf}
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  SetShellVarContext all
  !insertmacro RequireAdmin
  !insertmacro WaitWhileProgramRuns
FunctionEnd

; Exactly what the installer put down, file by file: folders go only when they are empty, so nothing
; the user keeps in them (and never a whole folder chosen by mistake, such as C:\) is deleted.
Section "Uninstall"
  ; The program first: while it cannot go (started since the question above), its shortcut and entry
  ; stay, so what is installed is still registered.
  program_held:
  ClearErrors
  Delete "$INSTDIR\ZEVConfig.exe"
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRuns)" /SD IDCANCEL IDRETRY program_held
    SetErrorLevel 32
    Abort
  ${EndIf}
  Delete "$INSTDIR\imagenes\Skin_VBNET.bmp"
  RMDir "$INSTDIR\imagenes"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINST_KEY}"
  ; Run in place (the registered commands), the uninstaller cannot delete its own file: a copy of it
  ; does, once this process has ended.
  ClearErrors
  Delete "$INSTDIR\${UNINSTALLER}"
  ${If} ${Errors}
    GetTempFileName $0
    CopyFiles /SILENT "$EXEPATH" $0
    System::Call 'kernel32::GetCurrentProcessId() i.r1'
    Exec '"$0" /S /LIMPIAR=$1 _?=$INSTDIR'
  ${EndIf}
  RMDir "$INSTDIR"
SectionEnd
