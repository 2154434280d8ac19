; Varnox's installer: a per-machine install under Program Files, one Start-menu shortcut, an
; entry in Add/Remove Programs, and an uninstaller that removes exactly what was installed.
; scripts/package calls makensis with these defines:
;   VERSION   the project's version (1.2.3)       VERSION4  the same in four parts (1.2.3.0)
;   EXE       the Varnox.exe to install           ICON      the program's icon
;   OUTFILE   the installer to write              TARGET    x86 (shipped) or amd64 (for tests)
Unicode true
!if "${TARGET}" == "amd64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif

; The same input gives the same installer: no file times are stored.
SetDateSave off
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnox"
Name "Varnox ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Varnox"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Varnox ${VERSION}"

; No copyright line: the version block names the product and its maker only.
!pragma warning disable 9100
VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "Varnox"
VIAddVersionKey /LANG=1033 "CompanyName" "Varnox"
VIAddVersionKey /LANG=1033 "FileDescription" "Varnox ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION4}"

!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Varnox.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Per-machine: Program Files, the all-users Start menu and HKLM need an administrator. Exit code
; 740 is Windows' "the requested operation requires elevation".
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Varnox is installed for all users of this computer; please run this as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

!macro UseMachineViews
  !if "${TARGET}" == "amd64"
    SetRegView 64
  !endif
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro UseMachineViews
  !insertmacro RequireAdministrator
FunctionEnd

Section "Varnox"
  SetOutPath "$INSTDIR"
  File "/oname=Varnox.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Varnox.lnk" "$INSTDIR\Varnox.exe" "" "$INSTDIR\Varnox.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Varnox"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Varnox"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Varnox.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Add/Remove Programs shows EstimatedSize in kilobytes.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !insertmacro UseMachineViews
  !insertmacro RequireAdministrator
FunctionEnd

; Only the files named here go; the folder goes only when nothing else is left in it, so files
; a user put there stay.
Section "Uninstall"
  Delete "$SMPROGRAMS\Varnox.lnk"
  Delete "$INSTDIR\Varnox.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; This uninstaller runs from a copy of itself in a folder of the temporary folder, which it
  ; cannot delete while it runs. NSIS asks Windows to delete that folder and then the copy at
  ; the next restart, and the folder, still holding the copy, stays; asking again in the right
  ; order removes both.
  ${If} $EXEDIR != $INSTDIR
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
  ${EndIf}
SectionEnd
