; Korbela Lite setup: installs korbela.exe and its manual under Program Files,
; adds a Start-menu shortcut for all users and an entry in the list of
; installed programs, and writes the uninstaller that takes all of it away
; again, together with what the program itself wrote for the machine (its Run
; value and installation record). The per-user settings stay.
;
; The build passes (installer/CMakeLists.txt):
;   KORBELA_VERSION  the program's version, 1.3.0.1
;   KORBELA_BIN      the folder that holds korbela.exe and "Korbela Lite.chm"
;   KORBELA_ICON     the program icon
;   KORBELA_OUTFILE  the setup to write
; By hand:
;   makensis -DKORBELA_VERSION=1.3.0.1 -DKORBELA_BIN=build/bin
;            -DKORBELA_ICON=win32/res/korbela.ico
;            -DKORBELA_OUTFILE=build/bin/korbela-setup.exe installer/korbela.nsi

!macro REQUIRE NAME
  !ifndef ${NAME}
    !error "Define ${NAME} (makensis -D${NAME}=...)"
  !endif
!macroend
!insertmacro REQUIRE KORBELA_VERSION
!insertmacro REQUIRE KORBELA_BIN
!insertmacro REQUIRE KORBELA_ICON
!insertmacro REQUIRE KORBELA_OUTFILE

; korbela.exe is a 64-bit program; a 64-bit setup sees the 64-bit Program
; Files folder and registry without redirection.
Target amd64-unicode
Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Korbela Lite"
!define PUBLISHER "Quillmarsh"
!define EXE "korbela.exe"
!define MANUAL "Korbela Lite.chm"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Korbela"
!define RECORD_KEY "software\Quillmarsh\${PRODUCT}"
!define MAKER_KEY "software\Quillmarsh"

Name "${PRODUCT}"
Caption "${PRODUCT} ${KORBELA_VERSION} Setup"
UninstallCaption "${PRODUCT} ${KORBELA_VERSION} Uninstall"
BrandingText "${PRODUCT} ${KORBELA_VERSION}"
OutFile "${KORBELA_OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An update goes where the last installation went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${KORBELA_ICON}"
!define MUI_UNICON "${KORBELA_ICON}"
!define MUI_ABORTWARNING

; The last page offers to start the program, ticked. It is started through
; Explorer, which runs it with the user's own rights rather than the setup's:
; an elevated copy would hold the instance marker, and every later start of
; the user's would end at it.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunUnelevated

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${KORBELA_VERSION}"
VIFileVersion "${KORBELA_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${KORBELA_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${KORBELA_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "korbela-setup.exe"

; Ends a running copy, so that its files can be replaced or removed. The
; program's application window (class "TApplication", title "Korbela Lite")
; ends the program cleanly on WM_CLOSE: the tray icon goes, the hot key is
; given back. A second copy starting up blanks its own title, so only a copy
; that is really running is found.
!macro DEFINE_CLOSE_RUNNING PREFIX
Function ${PREFIX}CloseRunningKorbela
  Push $0
  Push $1
  retry:
  StrCpy $1 0
  wait:
    FindWindow $0 "TApplication" "${PRODUCT}"
    ${If} $0 == 0
      Goto done
    ${EndIf}
    ${If} $1 == 0
      DetailPrint "Closing the running ${PRODUCT}"
    ${EndIf}
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    Sleep 200
    IntOp $1 $1 + 1
    ${If} $1 < 50
      Goto wait
    ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
    "${PRODUCT} is still running.$\r$\n$\r$\nEnd it with $\"Exit Korbela Lite$\" in its tray menu, then click Retry." \
    /SD IDCANCEL IDRETRY retry
  Pop $1
  Pop $0
  Abort "${PRODUCT} is still running."
  done:
  Pop $1
  Pop $0
FunctionEnd
!macroend

!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

Function RunUnelevated
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\${EXE}"'
FunctionEnd

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseRunningKorbela

  SetOutPath "$INSTDIR"
  File "${KORBELA_BIN}/${EXE}"
  File "${KORBELA_BIN}/${MANUAL}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcut starts the program in its own folder.
  CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 \
    SW_SHOWNORMAL "" "Shows memory use and frees RAM from the notification area"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${KORBELA_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.CloseRunningKorbela

  ; Only the files the setup put there: the folder may have been chosen by
  ; hand and hold other things, so it is removed only when it is empty.
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${MANUAL}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  ; What the program wrote for the machine: the Run value (in the machine's
  ; key, or in the user's own when it ran without administrator rights) and
  ; the installation record. The per-user settings under HKEY_CURRENT_USER
  ; stay for a later installation.
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKLM "${RECORD_KEY}" "Install Location"
  DeleteRegValue HKLM "${RECORD_KEY}" "Current Version"
  DeleteRegKey /ifempty HKLM "${RECORD_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
