; Setup program of the Tunelore plug-in: finds the player, puts gen_tunelore.dll into its
; Plugins folder with an uninstaller beside it, and lists the plug-in among the installed
; programs. Built by the win32 preset (cmake/setup-program.cmake):
;
;   makensis -DVERSION=<version> -DPLUGIN_DLL=gen_tunelore.dll \
;            -DNOTICES=THIRD-PARTY-NOTICES.txt -DNOTICES_FILE=gen_tunelore-notices.txt \
;            -DOUTFILE=tunelore-setup.exe tunelore-setup.nsi
;
; NOTICES, the licences of the libraries in the DLL, is installed beside it as NOTICES_FILE.
;
; Command line: /S silent; /D=<player folder> (last, no quotes). The uninstaller takes /S and
; _?=<Plugins folder>. Exit codes besides NSIS's own (0 done, 1 cancelled, 2 aborted):
!define EXIT_NO_PLAYER 3       ; no winamp.exe in the chosen folder
!define EXIT_PLAYER_RUNNING 4  ; the player is running (silent mode, or the user cancelled)
!define EXIT_NOT_WRITABLE 5    ; the folder cannot be written to, elevated or not
;
; Privileges: the program runs as the user who started it (RequestExecutionLevel user, so
; Windows' installer detection does not elevate a program called "setup" up front). A player
; in the user's own folders needs nothing more; when the Plugins folder cannot be written to
; (Program Files), it starts itself again through ShellExecuteEx's "runas" verb, which asks
; for elevation, passes the folder on, waits and ends with that copy's exit code. The copy is
; marked /elevated and never re-launches itself.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include FileFunc.nsh
!include LogicLib.nsh

!define PLAYER_WINDOW_CLASS "Winamp v1.x"
!define PLAYER_PROGRAM "winamp.exe"
!define PLUGIN_FILE "gen_tunelore.dll"
!define SETTINGS_FILE "gen_tunelore.ini"
!define UNINSTALLER "tunelore-uninstall.exe"
!define PUBLISHER "Duskwarn"
!define LIST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tunelore"
!define PLAYER_LIST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
!define SEE_MASK_NOCLOSEPROCESS 0x40
!define SW_SHOWNORMAL 1

!define NO_PLAYER_TEXT "There is no winamp.exe in $INSTDIR.$\n$\nChoose the folder Winamp is installed in."
!define PLAYER_RUNNING_TEXT "Winamp is running. Close it, then click Retry."
!define NOT_WRITABLE_TEXT "Cannot write to $R2. Writing there needs administrator rights, which were refused or not enough."

Name "Tunelore ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Tunelore ${VERSION}"
; No InstallDir: $INSTDIR stays empty unless /D= gave a folder, so .onInit can tell.
LicenseData "${__FILEDIR__}/readme.txt"
LicenseText "About the plug-in" "Next >"
DirText "Setup will put the Tunelore plug-in into the Plugins folder of the Winamp installed in the folder below. For another Winamp, choose the folder that holds winamp.exe." "Winamp folder"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Tunelore"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Tunelore ${VERSION} setup: the lyrics plug-in for Winamp 5"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 The Tunelore developers"
VIAddVersionKey /LANG=1033 "OriginalFilename" "tunelore-setup.exe"

Var elevatedCopy  ; 1 in the copy started through "runas"

Page license skipInElevatedCopy
Page directory skipInElevatedCopy "" checkChosenFolder
Page instfiles
UninstPage uninstConfirm un.skipInElevatedCopy
UninstPage instfiles

; --- shared by the setup program and the uninstaller ------------------------------------

!macro SHARED_FUNCTIONS un
Function ${un}readElevatedFlag
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/elevated" $1
  ${IfNot} ${Errors}
    StrCpy $elevatedCopy 1
  ${EndIf}
FunctionEnd

Function ${un}skipInElevatedCopy
  ${If} $elevatedCopy == 1
    Abort
  ${EndIf}
FunctionEnd

; $0 := 0 when the player is not running, else EXIT_PLAYER_RUNNING (the user gave up).
Function ${un}waitForPlayerToClose
  retry:
  FindWindow $0 "${PLAYER_WINDOW_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "${PLAYER_RUNNING_TEXT}" /SD IDCANCEL IDRETRY retry
  StrCpy $0 ${EXIT_PLAYER_RUNNING}
FunctionEnd

; $0 := 1 when a file can be made in folder $1 (by trying one), else 0.
Function ${un}canWriteTo
  ClearErrors
  FileOpen $2 "$1\tunelore-setup.probe" w
  ${If} ${Errors}
    StrCpy $0 0
  ${Else}
    FileClose $2
    Delete "$1\tunelore-setup.probe"
    StrCpy $0 1
  ${EndIf}
FunctionEnd

; Starts this program again elevated with parameters $1 and waits for it.
; $0 := its exit code, or -1 when elevation was refused or failed.
Function ${un}runElevated
  System::Call '*(i 60, i ${SEE_MASK_NOCLOSEPROCESS}, p $HWNDPARENT, t "runas", t "$EXEPATH", t r1, p 0, i ${SW_SHOWNORMAL}, p, p, p, p, i, p, p) p .r2'
  System::Call 'shell32::ShellExecuteEx(p r2) i .r3'
  StrCpy $0 -1
  ${If} $3 <> 0
    System::Call '*$2(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r4)'
    System::Call 'kernel32::WaitForSingleObject(p r4, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r4, *i .r0)'
    System::Call 'kernel32::CloseHandle(p r4)'
  ${EndIf}
  System::Free $2
FunctionEnd

; Makes sure folder $1 can be written to: when it cannot and this is not yet the elevated
; copy, that copy (parameters $R0) does the work and this program quits with its exit code.
; $0 := 0 when this program may go on, else EXIT_NOT_WRITABLE.
Function ${un}ensureWritable
  StrCpy $R2 $1
  Call ${un}canWriteTo
  ${If} $0 == 1
    StrCpy $0 0
    Return
  ${EndIf}
  ${If} $elevatedCopy != 1
    HideWindow
    StrCpy $1 $R0
    Call ${un}runElevated
    ${If} $0 != -1
      SetErrorLevel $0
      Quit
    ${EndIf}
    BringToFront
  ${EndIf}
  MessageBox MB_ICONSTOP|MB_OK "${NOT_WRITABLE_TEXT}" /SD IDOK
  StrCpy $0 ${EXIT_NOT_WRITABLE}
FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

; Removes the program-list entry under ROOT when it names uninstaller command COMMAND (an
; entry of another copy of the plug-in stays).
!macro REMOVE_LIST_ENTRY ROOT COMMAND
  ReadRegStr $0 ${ROOT} "${LIST_KEY}" "UninstallString"
  ${If} $0 == `${COMMAND}`
    DeleteRegKey ${ROOT} "${LIST_KEY}"
  ${EndIf}
!macroend

; --- setup program ------------------------------------------------------------------------

Function .onInit
  Call readElevatedFlag
  ${If} $INSTDIR == ""
    Call findPlayerFolder
  ${EndIf}
  ; Without pages (silent mode, the elevated copy) the folder is checked here.
  ${If} ${Silent}
  ${OrIf} $elevatedCopy == 1
    Call checkPlayerFolder
    ${If} $0 != 0
      SetErrorLevel $0
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; The player's install folder as its own installer records it, else the usual one. A recorded
; folder without winamp.exe (a player moved or removed) gives way to the next record.
Function findPlayerFolder
  ReadRegStr $0 HKCU "Software\Winamp" ""
  Call useFolderIfPlayer
  ${If} $INSTDIR == ""
    ReadRegStr $0 HKLM "${PLAYER_LIST_KEY}" "UninstallString"
    Call uninstallerFolder
    Call useFolderIfPlayer
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES\Winamp"
  ${EndIf}
FunctionEnd

Function useFolderIfPlayer
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${PLAYER_PROGRAM}"
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

; $0 := the folder of the program that command line $0 starts ("C:\Winamp\UninstWA.exe" /x).
Function uninstallerFolder
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${EndIf}
  ${If} $0 != ""
    ${GetParent} $0 $0
  ${EndIf}
FunctionEnd

; $0 := 0 when $INSTDIR holds the player, it is not running and its Plugins folder can be
; written to; else the exit code, after saying why (unless silent).
Function checkPlayerFolder
  ${IfNot} ${FileExists} "$INSTDIR\${PLAYER_PROGRAM}"
    MessageBox MB_ICONEXCLAMATION|MB_OK "${NO_PLAYER_TEXT}" /SD IDOK
    StrCpy $0 ${EXIT_NO_PLAYER}
    Return
  ${EndIf}
  Call waitForPlayerToClose
  ${If} $0 != 0
    Return
  ${EndIf}
  StrCpy $1 "$INSTDIR\Plugins"
  ${IfNot} ${FileExists} "$1\*.*"
    StrCpy $1 $INSTDIR
  ${EndIf}
  StrCpy $R0 "/elevated /D=$INSTDIR"
  ${If} ${Silent}
    StrCpy $R0 "/S $R0"
  ${EndIf}
  Call ensureWritable
FunctionEnd

Function checkChosenFolder
  Call checkPlayerFolder
  ${If} $0 != 0
    Abort
  ${EndIf}
FunctionEnd

Section "Tunelore" pluginSection
  SetOutPath "$INSTDIR\Plugins"
  SetOverwrite on
  File "/oname=${PLUGIN_FILE}" "${PLUGIN_DLL}"
  File "/oname=${NOTICES_FILE}" "${NOTICES}"
  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"
  Call writeListEntry
SectionEnd

; Per machine when elevated, per user otherwise; an entry this plug-in folder left in the
; other place goes, so the program list names it once.
Function writeListEntry
  StrCpy $R1 '"$INSTDIR\Plugins\${UNINSTALLER}"'
  !insertmacro REMOVE_LIST_ENTRY HKCU $R1
  !insertmacro REMOVE_LIST_ENTRY HKLM $R1
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    SetShellVarContext all
  ${EndIf}
  WriteRegStr SHCTX "${LIST_KEY}" "DisplayName" "Tunelore plug-in for Winamp"
  WriteRegStr SHCTX "${LIST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${LIST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${LIST_KEY}" "InstallLocation" "$INSTDIR\Plugins"
  WriteRegStr SHCTX "${LIST_KEY}" "UninstallString" $R1
  WriteRegStr SHCTX "${LIST_KEY}" "QuietUninstallString" "$R1 /S"
  SectionGetSize ${pluginSection} $0
  WriteRegDWORD SHCTX "${LIST_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${LIST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${LIST_KEY}" "NoRepair" 1
  SetShellVarContext current
FunctionEnd

; --- uninstaller ($INSTDIR is the Plugins folder it lies in) ------------------------------

Function un.onInit
  Call un.readElevatedFlag
  Call un.waitForPlayerToClose
  ${If} $0 == 0
    StrCpy $1 $INSTDIR
    StrCpy $R0 "/elevated _?=$INSTDIR"
    ${If} ${Silent}
      StrCpy $R0 "/S $R0"
    ${EndIf}
    Call un.ensureWritable
  ${EndIf}
  ${If} $0 != 0
    SetErrorLevel $0
    Quit
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\${PLUGIN_FILE}"
  ${If} ${FileExists} "$INSTDIR\${PLUGIN_FILE}"
    MessageBox MB_ICONSTOP|MB_OK "Cannot remove $INSTDIR\${PLUGIN_FILE}." /SD IDOK
    Abort
  ${EndIf}
  Delete "$INSTDIR\${NOTICES_FILE}"
  ; The settings: beside the plug-in, or in the player's settings folder when the plug-in
  ; could not write to its own.
  Delete "$INSTDIR\${SETTINGS_FILE}"
  Delete "$APPDATA\Winamp\Plugins\${SETTINGS_FILE}"
  !insertmacro REMOVE_LIST_ENTRY HKCU '"$INSTDIR\${UNINSTALLER}"'
  !insertmacro REMOVE_LIST_ENTRY HKLM '"$INSTDIR\${UNINSTALLER}"'
  Delete "$INSTDIR\${UNINSTALLER}"
SectionEnd
