; The Windows installer: the game, its sample questions, the README and the
; licence under Program Files, a Start-menu entry that starts the game in the
; sample folder, an entry in the list of installed programs, and, only when
; ticked (or given /ASSOCIATE on the command line), .csv question files
; opening with the game. The uninstaller takes all of it away again.
;
; makensis -DVERSION=1.0.0 -DSTAGE=<folder of the files> -DICON=<.ico> -DOUTFILE=<setup.exe> installer.nsi

; 64-bit like the game, so it runs where the game runs.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define APP Wrigglet
!define PROGID "Wrigglet.QuestionFile"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Wrigglet"
!define APP_KEY "Software\Wrigglet"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${APP_KEY}" "InstallDir"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Wrigglet maintainers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\wrigglet.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Wrigglet"
!insertmacro MUI_PAGE_WELCOME
!if /FileExists "${STAGE}/LICENSE.txt"
  !insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!endif
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

Section "Wrigglet" SecGame
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}/wrigglet.exe"
  File "${STAGE}/README.txt"
!if /FileExists "${STAGE}/LICENSE.txt"
  File "${STAGE}/LICENSE.txt"
!endif
  SetOutPath "$INSTDIR\questions"
  File "${STAGE}/questions/*.csv"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The file chooser opens where the game starts: among the samples.
  SetOutPath "$INSTDIR\questions"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\wrigglet.exe" "" "$INSTDIR\wrigglet.exe" 0

  WriteRegStr HKLM "${APP_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Wrigglet maintainers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\wrigglet.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Open .csv question files with Wrigglet" SecAssociate
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Wrigglet question file"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\wrigglet.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\wrigglet.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\.csv\OpenWithProgids" "${PROGID}" ""
  ; What .csv opened with before goes back when the game is uninstalled.
  ReadRegStr $0 HKLM "Software\Classes\.csv" ""
  ${If} $0 != "${PROGID}"
    WriteRegStr HKLM "${APP_KEY}" "PreviousCsvClass" $0
  ${EndIf}
  WriteRegStr HKLM "Software\Classes\.csv" "" "${PROGID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ASSOCIATE" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecAssociate} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$INSTDIR\questions\*.csv"
  RMDir "$INSTDIR\questions"
  Delete "$INSTDIR\wrigglet.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  ; The .csv association, only where it is still the game's.
  ReadRegStr $0 HKLM "Software\Classes\.csv" ""
  ${If} $0 == "${PROGID}"
    ReadRegStr $1 HKLM "${APP_KEY}" "PreviousCsvClass"
    ${If} $1 == ""
      DeleteRegValue HKLM "Software\Classes\.csv" ""
    ${Else}
      WriteRegStr HKLM "Software\Classes\.csv" "" $1
    ${EndIf}
  ${EndIf}
  DeleteRegValue HKLM "Software\Classes\.csv\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "Software\Classes\.csv\OpenWithProgids"
  DeleteRegKey /ifempty HKLM "Software\Classes\.csv"
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${APP_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
