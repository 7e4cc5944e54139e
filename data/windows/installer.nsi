; The per-user installer of the editor for Windows: no administrator rights, everything under the
; user's own folders and HKEY_CURRENT_USER. scripts/build-windows-gui.sh runs makensis with
;   /DVERSION=x.y.z.w /DROOT=<folder holding bin\ and share\> /DOUTFILE=<setup.exe>
; The layout mirrors the Linux installation (bin\ beside share\quillbay-ssf-manager\ThemeMaps),
; so the program knows it is installed and keeps its settings in %APPDATA%, not beside itself.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define APP "Quillbay SSF Manager"
!define PROGID "Quillbay Theme"
!define STATEKEY "Software\Quillbay\SSF Manager"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillbaySsfManager"
!define FILEEXTS "Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.ssf"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${STATEKEY}" "InstallDir"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductName" "${APP}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка ${APP}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "CompanyName" "Quillbay"
VIAddVersionKey /LANG=1049 "LegalCopyright" "© 2026 The Quillbay SSF Manager developers (MIT)"

!include "MUI2.nsh"
!define MUI_ICON "${ROOT}\bin\quillbay-ssf-manager.ico"
!define MUI_UNICON "${ROOT}\bin\quillbay-ssf-manager.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\ssf-manager.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Section "${APP}"
  SetOutPath "$INSTDIR"
  ; A reinstall replaces the program's own folders whole: no DLL of an older Qt stays behind.
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\share"
  File /r "${ROOT}\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${STATEKEY}" "InstallDir" "$INSTDIR"

  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\bin\ssf-manager.exe"

  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "Quillbay"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\bin\ssf-manager.exe,0"
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1

  ; The association: the same keys the program's "Ассоциировать с SSF" writes. Another program's
  ; claim on .ssf is remembered so that the uninstaller can give it back.
  ReadRegStr $0 HKCU "Software\Classes\.ssf" ""
  StrCmp $0 "${PROGID}" assoc_write
  StrCmp $0 "" assoc_write
  WriteRegStr HKCU "${STATEKEY}" "PreviousSsfProgId" $0
assoc_write:
  WriteRegStr HKCU "Software\Classes\.ssf" "" "${PROGID}"
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "${PROGID}"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\bin\ssf-manager.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\bin\ssf-manager.exe" "%1"'
  WriteRegStr HKCU "${FILEEXTS}\OpenWithList" "a" "ssf-manager.exe"
  WriteRegStr HKCU "${FILEEXTS}\OpenWithList" "MRUList" "a"
  WriteRegBin HKCU "${FILEEXTS}\OpenWithProgids" "${PROGID}" 0000000000000000
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; .ssf goes back to the program that had it before, or away when none had; left alone when
  ; another program has taken it since.
  ReadRegStr $0 HKCU "Software\Classes\.ssf" ""
  StrCmp $0 "${PROGID}" 0 assoc_rest
  ReadRegStr $1 HKCU "${STATEKEY}" "PreviousSsfProgId"
  StrCmp $1 "" 0 assoc_restore
  DeleteRegKey HKCU "Software\Classes\.ssf"
  Goto assoc_rest
assoc_restore:
  WriteRegStr HKCU "Software\Classes\.ssf" "" $1
assoc_rest:
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  DeleteRegValue HKCU "${FILEEXTS}\OpenWithProgids" "${PROGID}"
  ReadRegStr $0 HKCU "${FILEEXTS}\OpenWithList" "a"
  StrCmp $0 "ssf-manager.exe" 0 +3
  DeleteRegValue HKCU "${FILEEXTS}\OpenWithList" "a"
  DeleteRegValue HKCU "${FILEEXTS}\OpenWithList" "MRUList"
  DeleteRegKey /ifempty HKCU "${FILEEXTS}\OpenWithList"
  DeleteRegKey /ifempty HKCU "${FILEEXTS}\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "${FILEEXTS}"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'

  Delete "$SMPROGRAMS\${APP}.lnk"
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\share"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTKEY}"
  DeleteRegKey HKCU "${STATEKEY}"
  DeleteRegKey /ifempty HKCU "Software\Quillbay"
  ; The user's settings in %APPDATA% stay, as every program leaves its user's choices.
SectionEnd
