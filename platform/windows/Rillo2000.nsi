; The Rillo2000 installer (built by scripts/build-windows.sh with makensis):
;   makensis -DVERSION=1.4.6 -DPACKAGE=<package folder> -DFILES=<files.nsh>
;            -DOUTFILE=<setup.exe> Rillo2000.nsi
; FILES is made from the package folder: it installs every file and lets the
; uninstaller remove exactly those, so that files of the user's that happen
; to lie in the program's folder stay where they are.
;
; Silent install: setup.exe /S [/CONTROLS] /D=C:\Folder\Of Choice
; (/CONTROLS also registers the two controls; /D comes last, unquoted).
; Silent uninstall: Uninstall.exe /S

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define APP "Rillo2000"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define APP_KEY "Software\${APP}\Installer"
!define DECK_CLASS "${APP}.Deck"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${APP_KEY}" "Folder"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${APP}"
VIAddVersionKey "LegalCopyright" "${APP}"

!define MUI_ICON "${PACKAGE}\rillo2000.ico"
!define MUI_UNICON "${PACKAGE}\rillo2000.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Rillo2000.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Rillo2000 and the bundled model" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${APP}"
  CreateShortCut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\Rillo2000.exe" "" "$INSTDIR\Rillo2000.exe" 0
  CreateShortCut "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk" "$INSTDIR\Uninstall.exe"

  ; Decks open in Rillo2000 when double-clicked. A class .sin had before is
  ; remembered, and given back when Rillo2000 is uninstalled.
  ReadRegStr $0 HKLM "Software\Classes\.sin" ""
  ${If} $0 != ""
  ${AndIf} $0 != "${DECK_CLASS}"
    WriteRegStr HKLM "${APP_KEY}" "PreviousSinClass" $0
  ${EndIf}
  WriteRegStr HKLM "Software\Classes\.sin" "" "${DECK_CLASS}"
  WriteRegStr HKLM "Software\Classes\${DECK_CLASS}" "" "RILLO input deck"
  WriteRegStr HKLM "Software\Classes\${DECK_CLASS}\DefaultIcon" "" "$INSTDIR\Rillo2000.exe,0"
  WriteRegStr HKLM "Software\Classes\${DECK_CLASS}\shell\open\command" "" '"$INSTDIR\Rillo2000.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${APP_KEY}" "Folder" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Rillo2000.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Register the controls QVXSPLIT and QVXRSZ (for developers)" SecControls
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\QVXSPLIT.dll"' $0
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\QVXRSZ.dll"' $1
  ${If} $0 <> 0
  ${OrIf} $1 <> 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "The controls could not be registered (regsvr32 answered $0 and $1)." /SD IDOK
    SetErrorLevel 2
  ${Else}
    WriteRegDWORD HKLM "${APP_KEY}" "ControlsRegistered" 1
  ${EndIf}
SectionEnd

Function .onInit
  SetRegView 64
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CONTROLS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecControls}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ReadRegDWORD $0 HKLM "${APP_KEY}" "ControlsRegistered"
  ${If} $0 = 1
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\QVXSPLIT.dll"'
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\QVXRSZ.dll"'
  ${EndIf}

  ; .sin goes back to the class it had, or away when it had none; a class
  ; some other program gave it since is left alone.
  ReadRegStr $0 HKLM "Software\Classes\.sin" ""
  ${If} $0 == "${DECK_CLASS}"
    ReadRegStr $1 HKLM "${APP_KEY}" "PreviousSinClass"
    ${If} $1 != ""
      WriteRegStr HKLM "Software\Classes\.sin" "" $1
    ${Else}
      DeleteRegKey HKLM "Software\Classes\.sin"
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${DECK_CLASS}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk"
  RMDir "$SMPROGRAMS\${APP}"

  !include "${FILES}.uninstall"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${APP_KEY}"
  DeleteRegKey /ifempty HKLM "Software\${APP}"

  ; The user's own settings go only when the user says so.
  MessageBox MB_YESNO|MB_ICONQUESTION "Remove your Rillo2000 settings as well?" /SD IDNO IDNO keep
    DeleteRegKey HKCU "Software\${APP}"
  keep:
SectionEnd
