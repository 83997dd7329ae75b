; Windows installer of the control centre. Built by scripts/build-installer.sh
; (makensis) with these defines:
;   VERSION   product version, four numbers, e.g. 1.0.0.1
;   TARGET    x86-unicode (release) or amd64-unicode (test build for 64-bit Wine)
;   BIN       the build's bin folder: the program, HVUI.dll and the data folders
;   OUTFILE   path of the setup program to write
Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!if ${TARGET} == amd64-unicode
  !include "x64.nsh"
!endif

!define PRODUCT "Tarvenholm"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\${PRODUCT}"
!define STARTUP_TASK "Tarvenholm StartupTask"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
!if ${TARGET} == amd64-unicode
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${BIN}\..\generated\tarvenholm.ico"
!define MUI_UNICON "${BIN}\..\generated\tarvenholm.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "The control centre talks to the machine through two libraries that come with the machine, not with this setup: copy the machine's WinRing0.dll and HWiNFO32.dll into$\r$\n$INSTDIR$\r$\n$\r$\nThe control centre needs WinRing0.dll to start; without HWiNFO32.dll it runs without sensor readings."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tarvenholm.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running copy keeps its files open: end it first.
!macro EndRunningCopy
  nsExec::Exec 'taskkill /F /IM Tarvenholm.exe'
  Pop $0
!macroend

Function .onInit
  SetShellVarContext all  ; machine-wide Start menu entry
!if ${TARGET} == amd64-unicode
  SetRegView 64
!endif
FunctionEnd

Section "Control centre" SecMain
  SectionIn RO
  !insertmacro EndRunningCopy
  SetOutPath "$INSTDIR"
  File "${BIN}\Tarvenholm.exe"
  File "${BIN}\HVUI.dll"
  File "${BIN}\..\redist\libhidapi.dll"
  !if /FileExists "${BIN}\skins\*.*"
    File /r "${BIN}\skins"
  !endif
  !if /FileExists "${BIN}\language\*.*"
    File /r "${BIN}\language"
  !endif
  !if /FileExists "${BIN}\font\*.*"
    File /r "${BIN}\font"
  !endif
  File "/oname=WHERE-ARE-THE-MACHINE-LIBRARIES.txt" "${BIN}\..\installer\machine-libraries.txt"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tarvenholm.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarvenholm.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetShellVarContext all
!if ${TARGET} == amd64-unicode
  SetRegView 64
!endif
FunctionEnd

Section "Uninstall"
  !insertmacro EndRunningCopy
  nsExec::Exec 'schtasks /Delete /TN "${STARTUP_TASK}" /F'
  Pop $0
  Delete "$INSTDIR\Tarvenholm.exe"
  Delete "$INSTDIR\HVUI.dll"
  Delete "$INSTDIR\libhidapi.dll"
  Delete "$INSTDIR\WHERE-ARE-THE-MACHINE-LIBRARIES.txt"
  RMDir /r "$INSTDIR\skins"
  RMDir /r "$INSTDIR\language"
  RMDir /r "$INSTDIR\font"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"  ; kept when the user put the machine's libraries there
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Settings and the data folder are the user's: asked, and kept when silent.
  MessageBox MB_YESNO|MB_ICONQUESTION "Also remove your ${PRODUCT} settings and data?" /SD IDNO IDNO keep_user_data
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    RMDir /r "$LOCALAPPDATA\${PRODUCT} Files"
  keep_user_data:
SectionEnd
