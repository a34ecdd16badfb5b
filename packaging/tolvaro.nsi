; The Windows installer: Tolvaro into Program Files, a Start-menu shortcut, an optional desktop
; shortcut and an uninstaller in Add/Remove Programs. Chinese first, English beside it. The
; players' records live in %LOCALAPPDATA%\Tolvaro (the program keeps them there when it runs from
; Program Files), so uninstalling never touches them.
;   makensis -DVERSION=1.0.0 -DRUN_DIR=<folder with tolvaro.exe> -DOUT=<setup.exe> tolvaro.nsi
Unicode true
; A 64-bit installer for the 64-bit program (and for a Wine without 32-bit support).
Target amd64-unicode
!include "MUI2.nsh"

Name "Tolvaro"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Tolvaro"
InstallDirRegKey HKLM "Software\Tolvaro" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Tolvaro"
VIAddVersionKey /LANG=0 "FileDescription" "Tolvaro setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "The Tolvaro developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "The Tolvaro developers"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvaro"
!define MUI_ICON "${RUN_DIR}\..\tolvaro.ico"
!define MUI_UNICON "${RUN_DIR}\..\tolvaro.ico"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tolvaro.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString GameSection ${LANG_SIMPCHINESE} "Tolvaro 打字游戏"
LangString GameSection ${LANG_ENGLISH} "Tolvaro typing game"
LangString DesktopSection ${LANG_SIMPCHINESE} "桌面快捷方式"
LangString DesktopSection ${LANG_ENGLISH} "Desktop shortcut"

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "!$(GameSection)" SectionGame
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${RUN_DIR}\tolvaro.exe"
  File "${RUN_DIR}\mouse6.ani"
  File /r "${RUN_DIR}\03_16"
  File /r "${RUN_DIR}\charImg"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tolvaro"
  CreateShortCut "$SMPROGRAMS\Tolvaro\Tolvaro.lnk" "$INSTDIR\tolvaro.exe" "" "$INSTDIR\tolvaro.exe" 0
  WriteRegStr HKLM "Software\Tolvaro" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tolvaro"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Tolvaro developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tolvaro.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(DesktopSection)" SectionDesktop
  SetShellVarContext all
  CreateShortCut "$DESKTOP\Tolvaro.lnk" "$INSTDIR\tolvaro.exe" "" "$INSTDIR\tolvaro.exe" 0
SectionEnd

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; Only what the installer put there: the players' folders are left alone.
Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\tolvaro.exe"
  Delete "$INSTDIR\mouse6.ani"
  RMDir /r "$INSTDIR\03_16"
  RMDir /r "$INSTDIR\charImg"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tolvaro\Tolvaro.lnk"
  RMDir "$SMPROGRAMS\Tolvaro"
  Delete "$DESKTOP\Tolvaro.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Tolvaro"
SectionEnd
