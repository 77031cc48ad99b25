; Tavrino's setup program: per user, no elevation, into %LOCALAPPDATA%\Programs\Tavrino.
;
; Defines given by the build (installer/CMakeLists.txt):
;   VERSION   a.b.c         ARCH   win32 | x64
;   PAYLOAD   the generated payload.nsh (File lines into $INSTDIR\.setup, and the list of files)
;   OUTFILE   the setup program to write
;
; Command line: /S silent; /NOAUTOSTART do not start with Windows; /NORUN do not start the program
; at the end. The uninstaller: /S silent (removes the user's data too).
;
; An upgrade never loses the user's data: the files are first unpacked into $INSTDIR\.setup and then
; each one replaces its installed copy in one rename, so a run killed half-way leaves every file
; either old or new and whole. user.dat is never overwritten: the new data goes beside it as
; user.dat.new, and the program carries the user's settings and recent cities into it at its next
; start, before it opens the database. user.dat.shipped, the release's data as it is, stays beside
; the program: it takes the place of a user.dat that cannot be read at all.

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Tavrino"
!define PUBLISHER "Tavrino"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrino"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define COMMAND_QUIT 1101

Name "Tavrino 日历 ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tavrino"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Tavrino"
VIAddVersionKey /LANG=0 "FileDescription" "Tavrino setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) Tavrino"

!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include "${PAYLOAD}"

Var Autostart      ; 1: start with Windows
Var AutostartBox

Page custom AutostartPage AutostartPageLeave
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Ends a running program of window class $0 the orderly way: the main window's quit command (the
; program then removes the clock hook and writes its last values), then waits for its process.
!macro EndProgramOfClass un
Function ${un}EndProgramOfClass
  Exch $0          ; window class
  Push $1
  Push $2
  Push $3
  FindWindow $1 $0
  ${If} $1 <> 0
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'   ; SYNCHRONIZE
    ${If} $0 == "TavrinoMain"
      SendMessage $1 ${WM_COMMAND} ${COMMAND_QUIT} 0 /TIMEOUT=5000
    ${Else}
      SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    ${If} $3 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r3, i 15000) i .r2'
      System::Call 'kernel32::CloseHandle(p r3)'
    ${Else}
      Sleep 2000
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function ${un}EndTavrino
  Push "TavrinoMain"
  Call ${un}EndProgramOfClass
  ; The 64-bit companion ends with the program; wait for it too (it holds tvrshell64.dll).
  Push "TAVRINO64"
  Call ${un}EndProgramOfClass
FunctionEnd
!macroend
!insertmacro EndProgramOfClass ""
!insertmacro EndProgramOfClass "un."

Function .onInit
  SetShellVarContext current
  StrCpy $Autostart 1
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NOAUTOSTART" $R1
  ${IfNot} ${Errors}
    StrCpy $Autostart 0
  ${EndIf}
FunctionEnd

Function AutostartPage
  nsDialogs::Create 1018
  Pop $R0
  ${NSD_CreateLabel} 0 0 100% 24u "Tavrino 日历将安装到 $INSTDIR"
  Pop $R0
  ${NSD_CreateCheckbox} 0 30u 100% 12u "开机时自动启动 Tavrino 日历"
  Pop $AutostartBox
  ${If} $Autostart == 1
    ${NSD_Check} $AutostartBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function AutostartPageLeave
  ${NSD_GetState} $AutostartBox $R0
  ${If} $R0 == ${BST_CHECKED}
    StrCpy $Autostart 1
  ${Else}
    StrCpy $Autostart 0
  ${EndIf}
FunctionEnd

; Moves $INSTDIR\.setup\<name> over $INSTDIR\<name> in one step. A file that cannot be replaced
; because it is mapped (the shell keeps a hook library loaded after its hook is gone) is renamed
; aside first, which Windows allows for a loaded library; the next install removes what is left.
!macro PlaceFile name
  System::Call 'kernel32::MoveFileExW(w "$INSTDIR\.setup\${name}", w "$INSTDIR\${name}", i 0x9) i .r0'  ; REPLACE_EXISTING | WRITE_THROUGH
  ${If} $0 == 0
    System::Call 'kernel32::GetTickCount() i .r1'
    System::Call 'kernel32::MoveFileExW(w "$INSTDIR\${name}", w "$INSTDIR\${name}.$1.old", i 0x8) i .r0'
    System::Call 'kernel32::MoveFileExW(w "$INSTDIR\.setup\${name}", w "$INSTDIR\${name}", i 0x9) i .r0'
  ${EndIf}
  ${If} $0 == 0
    DetailPrint "cannot place ${name}"
    SetErrors
  ${EndIf}
!macroend

Section "Tavrino"
  SetShellVarContext current
  Call EndTavrino

  ; Libraries renamed aside by an earlier upgrade, once nothing has them loaded any more.
  Delete "$INSTDIR\*.old"
  ; Unpack everything first; nothing installed is touched yet.
  RMDir /r "$INSTDIR\.setup"
  !insertmacro PayloadFiles
  ; Then every file takes its place in one rename each.
  ClearErrors
  CreateDirectory "$INSTDIR\skin15"
  !insertmacro PlacePayload
  ${If} ${Errors}
    ; A file still in use: keep what could not be placed for the next run and say so.
    MessageBox MB_ICONEXCLAMATION|MB_OK "有文件正在使用，未能全部更新。请关闭 Tavrino 日历后重新安装。" /SD IDOK
    SetErrorLevel 2
  ${Else}
    RMDir /r "$INSTDIR\.setup"
  ${EndIf}

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tavrino 日历.lnk" "$INSTDIR\tavrino.exe" "" "$INSTDIR\tavrino.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tavrino 日历"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavrino.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The autostart entry exactly as the program writes it.
  ${If} $Autostart == 1
    WriteRegStr HKCU "${RUN_KEY}" "tavrino" '"$INSTDIR\tavrino.exe" -autostart'
    StrCpy $R0 "-setautostart"
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "tavrino"
    StrCpy $R0 "-setnoautostart"
  ${EndIf}

  ${GetParameters} $R1
  ClearErrors
  ${GetOptions} $R1 "/NORUN" $R2
  ${If} ${Errors}
    Exec '"$INSTDIR\tavrino.exe" -install $R0'
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.EndTavrino

  !insertmacro RemovePayload
  RMDir /r "$INSTDIR\skin15"
  RMDir /r "$INSTDIR\.setup"
  Delete "$INSTDIR\user.dat.new"
  Delete "$INSTDIR\user.dat.upgrade"
  Delete "$INSTDIR\*.old"
  Delete "$SMPROGRAMS\Tavrino 日历.lnk"
  ReadRegStr $0 HKCU "${RUN_KEY}" "tavrino"
  ${If} $0 != ""
    DeleteRegValue HKCU "${RUN_KEY}" "tavrino"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The user's data: settings and recent cities (user.dat), usage events, logs. A silent
  ; uninstall keeps nothing.
  MessageBox MB_ICONQUESTION|MB_YESNO "是否保留您的设置和数据（城市、皮肤、开关等）？" /SD IDNO IDYES keep
    Delete "$INSTDIR\user.dat"
    Delete "$INSTDIR\ubd.dat"
    Delete "$INSTDIR\bsc.dat"
    Delete "$INSTDIR\*.log"
  keep:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
