; Varnox's installer: a per-machine install under Program Files, one Start-menu shortcut, an
; entry in Add/Remove Programs, and an uninstaller that removes exactly what was installed.
; scripts/package calls makensis with these defines:
;   VERSION   the project's version (1.2.3)       VERSION4  the same in four parts (1.2.3.0)
;   EXE       the Varnox.exe to install           ICON      the program's icon
;   CLI       the varnox-cli.exe to install beside it
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
!include "Sections.nsh"
!include "WordFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Varnox.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The weekly clean is a scheduled task of the installing user, by this name.
!define TASK_NAME "Varnox weekly clean"
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

Section "Varnox" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=Varnox.exe" "${EXE}"
  File "/oname=varnox-cli.exe" "${CLI}"
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

; Unticked unless chosen. The task is written as a task definition, the one form schtasks takes
; on every Windows since Vista with every setting spelled out: the user who installs, only while
; signed in, with least privilege, on Sundays at noon or at the next start after a missed one,
; never two at once.
Section /o "Clean weekly with my saved choices" SecWeekly
  InitPluginsDir
  ; The folder goes into XML text, where these three characters mean markup.
  ${WordReplace} "$INSTDIR" "&" "&amp;" "+" $1
  ${WordReplace} "$1" "<" "&lt;" "+" $1
  ${WordReplace} "$1" ">" "&gt;" "+" $1
  FileOpen $0 "$PLUGINSDIR\task.xml" w
  FileWriteWord $0 0xFEFF
  FileWriteUTF16LE $0 '<?xml version="1.0" encoding="UTF-16"?>$\r$\n'
  FileWriteUTF16LE $0 '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">$\r$\n'
  FileWriteUTF16LE $0 '  <RegistrationInfo><Description>Varnox cleans the kinds saved in its window.</Description></RegistrationInfo>$\r$\n'
  FileWriteUTF16LE $0 '  <Triggers><CalendarTrigger><StartBoundary>2024-01-07T12:00:00</StartBoundary><ScheduleByWeek><DaysOfWeek><Sunday/></DaysOfWeek><WeeksInterval>1</WeeksInterval></ScheduleByWeek></CalendarTrigger></Triggers>$\r$\n'
  FileWriteUTF16LE $0 '  <Principals><Principal id="Author"><LogonType>InteractiveToken</LogonType><RunLevel>LeastPrivilege</RunLevel></Principal></Principals>$\r$\n'
  FileWriteUTF16LE $0 '  <Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy><StartWhenAvailable>true</StartWhenAvailable><DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries><StopIfGoingOnBatteries>false</StopIfGoingOnBatteries><ExecutionTimeLimit>PT2H</ExecutionTimeLimit></Settings>$\r$\n'
  FileWriteUTF16LE $0 '  <Actions Context="Author"><Exec><Command>"$1\varnox-cli.exe"</Command><Arguments>clean --preset</Arguments></Exec></Actions>$\r$\n'
  FileWriteUTF16LE $0 '</Task>$\r$\n'
  FileClose $0
  nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Create /TN "${TASK_NAME}" /XML "$PLUGINSDIR\task.xml" /F'
  Pop $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "The weekly clean could not be scheduled (schtasks said $0)." /SD IDOK
  ${EndIf}
SectionEnd

LangString DESC_SecProgram ${LANG_ENGLISH} "The window and the console program varnox-cli.exe."
LangString DESC_SecWeekly ${LANG_ENGLISH} "Every Sunday, varnox-cli.exe clean --preset removes the kinds you last ticked in the window."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DESC_SecProgram)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecWeekly} $(DESC_SecWeekly)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  !insertmacro UseMachineViews
  !insertmacro RequireAdministrator
  ; A silent install has no components page: /WEEKLYCLEAN ticks the weekly clean.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/WEEKLYCLEAN" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecWeekly}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro UseMachineViews
  !insertmacro RequireAdministrator
FunctionEnd

; Only the files named here go; the folder goes only when nothing else is left in it, so files
; a user put there stay.
Section "Uninstall"
  ; Whether or not the weekly clean was chosen; without the task, schtasks only says so.
  nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Delete /TN "${TASK_NAME}" /F'
  Pop $0
  Delete "$SMPROGRAMS\Varnox.lnk"
  Delete "$INSTDIR\Varnox.exe"
  Delete "$INSTDIR\varnox-cli.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The kinds the window remembers, of the user who uninstalls; other users' stay with their
  ; profiles.
  DeleteRegKey HKCU "Software\Varnox"
  ; This uninstaller runs from a copy of itself in a folder of the temporary folder, which it
  ; cannot delete while it runs. NSIS asks Windows to delete that folder and then the copy at
  ; the next restart, and the folder, still holding the copy, stays; asking again in the right
  ; order removes both.
  ${If} $EXEDIR != $INSTDIR
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
  ${EndIf}
SectionEnd
