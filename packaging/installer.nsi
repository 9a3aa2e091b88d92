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
!else if "${ARCH}" == "x86"
  Target x86-unicode
  ; The 32-bit program belongs where Windows puts 32-bit programs (Program Files (x86) on 64-bit
  ; Windows).
  !define PROGRAM_FOLDER "$PROGRAMFILES\ZEV Config"
!else
  !error "ARCH must be x64 or x86"
!endif

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEVConfig"
!define UNINSTALLER "Desinstalar.exe"
!define SHORTCUT "$SMPROGRAMS\ZEV Config.lnk"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "ZEV Config"
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

Function .onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  SetShellVarContext all
  !insertmacro RequireAdmin
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

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "ZEV Config"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Vantoro"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$\"$INSTDIR\ZEVConfig.exe$\",0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  SetShellVarContext all
  !insertmacro RequireAdmin
FunctionEnd

; Exactly what the installer put down, file by file: folders go only when they are empty, so nothing
; the user keeps in them (and never a whole folder chosen by mistake, such as C:\) is deleted.
Section "Uninstall"
  Delete "$INSTDIR\ZEVConfig.exe"
  Delete "$INSTDIR\imagenes\Skin_VBNET.bmp"
  RMDir "$INSTDIR\imagenes"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINST_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
