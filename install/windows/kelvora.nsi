; kelvora's setup for 64-bit Windows, made by tools/package.sh windows with
; Debian's makensis. It installs kelvora.scr into System32 (where Screen
; Saver Settings lists it for every user), makes it the user's
; saver as the Install verb does, adds a Start-menu entry for the settings
; and an uninstaller to Apps & features. /S runs either silently.
; Defines: VERSION, STAGE (the folder tools/package.sh fills), ICON, OUTFILE.
; A 64-bit setup, as the .scr is: it sees System32 and the registry as
; Windows' own 64-bit programs do.
Target amd64-unicode
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\kelvora"
!define SHORTCUT "$SMPROGRAMS\kelvora settings.lnk"

Name "kelvora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\kelvora"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"
LicenseData "${STAGE}\LICENSE.txt"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "kelvora"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "kelvora setup"
VIAddVersionKey CompanyName "The kelvora developers"
VIAddVersionKey LegalCopyright "Copyright (c) 2026 The kelvora developers"

Page license
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The program is every user's, and so are its shortcut and its entry.
Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section
  SetOutPath "$SYSDIR"
  File "${STAGE}\kelvora.scr"
  SetOutPath "$INSTDIR"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\kelvora-glyphs.ttf"
  File "${STAGE}\kelvora-glyphs-notice.txt"
  File "${STAGE}\IPA_Font_License_Agreement_v1.0.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "Control Panel\Desktop" "SCRNSAVE.EXE" "$SYSDIR\kelvora.scr"
  CreateShortcut "${SHORTCUT}" "$SYSDIR\kelvora.scr" "/c" "$SYSDIR\kelvora.scr" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "kelvora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The kelvora developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\kelvora.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The settings stay: kelvora.ini beside the program, and each user's copy in
; %LOCALAPPDATA%\kelvora, for a later install to find.
Section Uninstall
  Delete "$SYSDIR\kelvora.scr"
  ; The chosen saver is forgotten only if it is this one (NSIS compares
  ; without case, as Windows' paths are).
  ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\kelvora.scr"
    DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\kelvora-glyphs.ttf"
  Delete "$INSTDIR\kelvora-glyphs-notice.txt"
  Delete "$INSTDIR\IPA_Font_License_Agreement_v1.0.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
