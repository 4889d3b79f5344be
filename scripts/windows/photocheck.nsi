; The setup program of photocheck for 64-bit Windows (NSIS 3). package.sh builds it with these defines:
;   VERSION        the project's version, e.g. 1.0.0
;   APP_TITLE      the program's title (the task-bar title of the window), the Start-menu entry's name
;   ICON           the program's icon (.ico)
;   INSTALL_LIST   an include file of the SetOutPath and File lines of the folder to install
;   REMOVE_LIST    an include file of the Delete and RMDir lines that remove exactly those files
;   OUT_FILE       the setup program to write
;   SIZE_KB        the size of the installed folder in KB (shown in Apps and Features)
;   WINDOW         defined when the folder holds the window photocheck.exe (the Start-menu entry starts it)
;
; It installs into Program Files\photocheck for every user (so it asks for an administrator), adds the
; Start-menu entry and the uninstaller (also listed under Apps and Features). `/S` installs or uninstalls
; without a question; `/D=FOLDER` (last) installs elsewhere. The uninstaller removes the files it
; installed and nothing else: the working folders, with their databases of results, stay.
Target amd64-unicode  ; a 64-bit setup program for 64-bit programs (and Wine runs it without wine32)
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\photocheck"

Name "${APP_TITLE}"
Caption "${APP_TITLE} ${VERSION} 安装"
UninstallCaption "${APP_TITLE} ${VERSION} 卸载"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\photocheck"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "photocheck ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "photocheck"
VIAddVersionKey /LANG=2052 "FileDescription" "${APP_TITLE} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "photocheck"
VIAddVersionKey /LANG=2052 "LegalCopyright" "photocheck"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!ifdef WINDOW
  !define MUI_FINISHPAGE_RUN "$INSTDIR\photocheck.exe"
!endif
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "photocheck"
  !include "${INSTALL_LIST}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  !ifdef WINDOW
    CreateShortcut "$SMPROGRAMS\${APP_TITLE}.lnk" "$INSTDIR\photocheck.exe" "" "$INSTDIR\photocheck.exe" 0
  !endif

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP_TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "photocheck"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !ifdef WINDOW
    Delete "$SMPROGRAMS\${APP_TITLE}.lnk"
  !endif
  !include "${REMOVE_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
