; The setup of the Orlavox suite, made by make-setup.sh with these definitions:
;   TARGET   x86-unicode (the shipped setup) or amd64-unicode (the tests' build of it)
;   VERSION  the suite's version, a.b.c
;   DIST     the copy of the build's installation folder it packs
;   FILES    the file list made from it (macros OxInstallFiles, OxRemoveFiles, OxForEachProgram)
;   OUTFILE  the setup to write;  ICON  its icon
;
; Installs for the current user (no elevation) unless asked for all users; command line:
;   /S  silent   /ALLUSERS | /CURRENTUSER   /D=folder (last, without quotes)
; The uninstaller: /S, /ALLUSERS | /CURRENTUSER, /REMOVEDATA (the user's data goes too).

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "nsDialogs.nsh"
!include "Sections.nsh"
!include "x64.nsh"
!include "${FILES}"

!define PRODUCT "Orlavox"
!define PUBLISHER "Quillmarsh"
!define SETTINGS_KEY "Software\Quillmarsh\Orlavox"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orlavox"
!define CLIENT_KEY "Software\Clients\Media\Orlavox"
!define CAPABILITIES "${CLIENT_KEY}\Capabilities"
!define CLASSES "Software\Classes"
!define MENU_FOLDER "$SMPROGRAMS\Orlavox"
; How long a running player and its sibling programs get to close (tenths of a second).
!define CLOSE_WAIT 150

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"
!if "${ICON}" != ""
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif

Var AllUsers      ; "1": Program Files, HKLM, every user's Start menu; else the current user's
Var FolderGiven   ; "1" when /D chose the folder
Var ModeGiven     ; "1" when the command line chose the mode: no page asks
Var ModeSwitch    ; the uninstaller's switch for the mode it was installed in
Var ModeDialog
Var ModeMeOnly
Var ModeEveryone

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\rill.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Readme.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The file types the player opens: extension, description of its ProgID "Orlavox<extension>".
!macro OxForEachType _macro
  !insertmacro ${_macro} ".mp3" "MP3 audio"
  !insertmacro ${_macro} ".wav" "WAV audio"
  !insertmacro ${_macro} ".flac" "FLAC audio"
  !insertmacro ${_macro} ".ogg" "Ogg audio"
  !insertmacro ${_macro} ".oga" "Ogg audio"
  !insertmacro ${_macro} ".opus" "Opus audio"
  !insertmacro ${_macro} ".m3u" "M3U playlist"
  !insertmacro ${_macro} ".m3u8" "M3U playlist (UTF-8)"
  !insertmacro ${_macro} ".pls" "PLS playlist"
  !insertmacro ${_macro} ".oeq" "Orlavox equaliser preset"
!macroend

; The Start-menu entries: each program of the suite that this build holds.
!macro OxForEachShortcut _macro
  !insertmacro ${_macro} "rill.exe" "Orlavox"
  !insertmacro ${_macro} "Queuer.exe" "Orlavox Playlist"
  !insertmacro ${_macro} "History.exe" "Orlavox Previously Played"
  !insertmacro ${_macro} "Librarian.exe" "Orlavox Music Collection"
  !insertmacro ${_macro} "Launcher.exe" "Orlavox Options"
!macroend

!macro OxCreateShortcut _exe _name
  !if /FileExists "${DIST}/${_exe}"
    CreateShortcut "${MENU_FOLDER}\${_name}.lnk" "$INSTDIR\${_exe}"
  !endif
!macroend

!macro OxDeleteShortcut _exe _name
  Delete "${MENU_FOLDER}\${_name}.lnk"
!macroend

!macro OxRegisterType _ext _description
  WriteRegStr SHCTX "${CLASSES}\Orlavox${_ext}" "" "${_description}"
  WriteRegStr SHCTX "${CLASSES}\Orlavox${_ext}\DefaultIcon" "" "$INSTDIR\rill.exe,0"
  WriteRegStr SHCTX "${CLASSES}\Orlavox${_ext}\shell\open\command" "" '"$INSTDIR\rill.exe" "%1"'
  WriteRegStr SHCTX "${CLASSES}\${_ext}\OpenWithProgids" "Orlavox${_ext}" ""
  WriteRegStr SHCTX "${CAPABILITIES}\FileAssociations" "${_ext}" "Orlavox${_ext}"
!macroend

; Takes only what the setup wrote: a type's key goes only once nothing of another program is in it.
!macro OxUnregisterType _ext _description
  DeleteRegKey SHCTX "${CLASSES}\Orlavox${_ext}"
  DeleteRegValue SHCTX "${CLASSES}\${_ext}\OpenWithProgids" "Orlavox${_ext}"
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "${CLASSES}\${_ext}\OpenWithProgids"
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "${CLASSES}\${_ext}"
!macroend

; $R8 becomes "1" while the program still runs: Windows keeps a running executable from being
; opened for writing.
!macro OxNoteRunning _exe
  ${If} ${FileExists} "$INSTDIR\${_exe}"
    ClearErrors
    FileOpen $R7 "$INSTDIR\${_exe}" a
    ${If} ${Errors}
      StrCpy $R8 1
    ${Else}
      FileClose $R7
    ${EndIf}
  ${EndIf}
!macroend

; On 64-bit Windows both builds use the 64-bit registry view, where Default apps and the Uninstall
; list look first; the settings under HKCU\Software are the same in both views.
!macro OxRegView
  !if ${NSIS_PTR_SIZE} > 4
    SetRegView 64
  !else
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
!macroend

; The registry view and the shell folders of the mode in $AllUsers.
!macro OxApplyMode
  !insertmacro OxRegView
  ${If} $AllUsers == 1
    SetShellVarContext all
    StrCpy $ModeSwitch "/ALLUSERS"
  ${Else}
    SetShellVarContext current
    StrCpy $ModeSwitch "/CURRENTUSER"
  ${EndIf}
!macroend

; Sets $AllUsers from /ALLUSERS or /CURRENTUSER; $0 is "1" when one was given.
!macro OxModeFromCommandLine
  ${GetParameters} $R0
  StrCpy $0 ""
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    StrCpy $0 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers ""
    StrCpy $0 1
  ${EndIf}
!macroend

; Asks a running player and the sibling programs to close through the suite's close event, and
; waits (bounded) until the player's window is gone and no program of this folder runs. The event
; is set again at every look: a player still starting clears it once as it comes up.
!macro OxCloseSuiteFunction _un
Function ${_un}CloseSuite
  StrCpy $R9 0
  ${Do}
    System::Call 'kernel32::OpenEventW(i 0x1F0003, i 0, w "evtOxClose") p.r9'
    ${If} $9 != 0
      System::Call 'kernel32::SetEvent(p r9)'
      System::Call 'kernel32::CloseHandle(p r9)'
    ${EndIf}
    StrCpy $R8 ""
    FindWindow $R7 "Orlavox Audio Player"
    ${If} $R7 != 0
      StrCpy $R8 1
    ${EndIf}
    !insertmacro OxForEachProgram OxNoteRunning
    ${If} $R8 == ""
    ${OrIf} $R9 >= ${CLOSE_WAIT}
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $R9 $R9 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro OxCloseSuiteFunction ""
!insertmacro OxCloseSuiteFunction "un."

Function .onInit
  ; An earlier installation for all users only: that one is upgraded.
  StrCpy $AllUsers ""
  !insertmacro OxRegView
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $2 == ""
    StrCpy $AllUsers 1
  ${EndIf}
  !insertmacro OxModeFromCommandLine
  StrCpy $ModeGiven $0
  StrCpy $FolderGiven ""
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}
  Call ApplyMode
  Call KeepDesktopShortcut
  ${If} ${Silent}
    StrCpy $0 "/D=$INSTDIR"
    Call ElevateForAllUsers
  ${EndIf}
FunctionEnd

; The mode's registry view and folders, and its default folder unless one was given: where an
; earlier installation of the mode is, else the mode's usual place.
Function ApplyMode
  !insertmacro OxApplyMode
  ${If} $FolderGiven == 1
    Return
  ${EndIf}
  ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $INSTDIR != ""
    Return
  ${EndIf}
  ${If} $AllUsers == 1
    !if ${NSIS_PTR_SIZE} > 4
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    !else
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    !endif
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
FunctionEnd

; All users need an administrator: without one, the program starts itself again elevated (Windows
; asks) with the same choices and what $0 adds, and this copy ends.
!macro OxElevateFunction _un
Function ${_un}ElevateForAllUsers
  ${If} $AllUsers != 1
    Return
  ${EndIf}
  UserInfo::GetAccountType
  Pop $1
  ${If} $1 == "Admin"
    Return
  ${EndIf}
  StrCpy $1 "/ALLUSERS"
  ${If} ${Silent}
    StrCpy $1 "/S $1"
  ${EndIf}
  ExecShellWait "runas" "$EXEPATH" "$1 $0"
  Quit
FunctionEnd
!macroend
!insertmacro OxElevateFunction ""
!insertmacro OxElevateFunction "un."

Function ModePage
  ${If} $ModeGiven == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Install for" "Choose who gets ${PRODUCT}."
  nsDialogs::Create 1018
  Pop $ModeDialog
  ${NSD_CreateFirstRadioButton} 0 10u 100% 12u "Only for me (no administrator rights needed)"
  Pop $ModeMeOnly
  ${NSD_CreateRadioButton} 0 30u 100% 12u "For everyone on this computer (asks for administrator rights)"
  Pop $ModeEveryone
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeEveryone
  ${Else}
    ${NSD_Check} $ModeMeOnly
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeEveryone $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers ""
  ${EndIf}
  Call ApplyMode
  Call KeepDesktopShortcut
  StrCpy $0 "/D=$INSTDIR"
  Call ElevateForAllUsers
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseSuite
  ; An earlier installation's own uninstaller takes away its files first (the user's data stays),
  ; so nothing of an older version is left behind.
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
    ExecWait '"$INSTDIR\Uninstall.exe" /S $ModeSwitch _?=$INSTDIR'
  ${EndIf}
  SetOutPath "$INSTDIR"
  ; The folder's long name, as Windows gives a program started from it its own path.
  System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR", w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 > 0
    StrCpy $INSTDIR $0
  ${EndIf}
  !insertmacro OxInstallFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; "InstalledTo" as the player's first start writes it: its folder in upper case, ending in a
  ; backslash. The sibling programs find the suite through it before the player has run.
  StrCpy $0 "$INSTDIR"
  System::Call 'user32::CharUpperW(w r0 r0)'
  WriteRegStr HKCU "${SETTINGS_KEY}" "InstalledTo" "$0\"

  CreateDirectory "${MENU_FOLDER}"
  !insertmacro OxForEachShortcut OxCreateShortcut

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rill.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" $ModeSwitch'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S $ModeSwitch'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${OX_SIZE_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Offered, never taken over: the player joins each type's "Open with" list and Default apps, and
; the user decides there.
Section "Offer ${PRODUCT} for music files and playlists" SecTypes
  !insertmacro OxForEachType OxRegisterType
  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationName" "${PRODUCT}"
  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationDescription" "The skinned audio player of the ${PRODUCT} suite"
  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationIcon" "$INSTDIR\rill.exe,0"
  WriteRegStr SHCTX "Software\RegisteredApplications" "${PRODUCT}" "${CAPABILITIES}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section /o "Desktop shortcut" SecDesktop
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\rill.exe"
SectionEnd

; An upgrade keeps the desktop shortcut an earlier installation made.
Function KeepDesktopShortcut
  ${If} ${FileExists} "$DESKTOP\${PRODUCT}.lnk"
    !insertmacro SelectSection ${SecDesktop}
  ${EndIf}
FunctionEnd

Section "un.${PRODUCT}" SecUnProgram
  SectionIn RO
  Call un.CloseSuite
  !insertmacro OxRemoveFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  !insertmacro OxForEachShortcut OxDeleteShortcut
  RMDir "${MENU_FOLDER}"
  Delete "$DESKTOP\${PRODUCT}.lnk"

  !insertmacro OxForEachType OxUnregisterType
  DeleteRegKey SHCTX "${CLIENT_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "Software\Clients\Media"
  DeleteRegValue SHCTX "Software\RegisteredApplications" "${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; The settings stay, but not a folder that no longer holds the suite.
  DeleteRegValue HKCU "${SETTINGS_KEY}" "InstalledTo"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Quillmarsh"
SectionEnd

; The user's own files beside the programs (named after the Windows user), what the player and its
; plug-ins wrote there, skins and presets the user added, and the settings.
Section /o "un.Remove my data too (queue, history, collection, presets, added skins, settings)" SecUserData
  Delete "$INSTDIR\*.mcc"
  Delete "$INSTDIR\*.ovc"
  Delete "$INSTDIR\*.oxli"
  Delete "$INSTDIR\*.Previously Played"
  Delete "$INSTDIR\*.Enqued"
  Delete "$INSTDIR\*.PriorityEnqued"
  Delete "$INSTDIR\*.AddToEditor"
  Delete "$INSTDIR\AudioCD.m3u"
  RMDir /r "$INSTDIR\Multiplayer"
  RMDir /r "$INSTDIR\SoundOutputs"
  RMDir /r "$INSTDIR\Visual Outputs"
  RMDir /r "$INSTDIR\Skins"
  RMDir /r "$INSTDIR\Equalizer-Presets"
  RMDir /r "$INSTDIR\Output"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Quillmarsh"
SectionEnd

Function un.onInit
  ; The mode it was installed in, unless the command line says.
  !insertmacro OxRegView
  StrCpy $AllUsers ""
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 == $INSTDIR
    StrCpy $AllUsers 1
  ${EndIf}
  !insertmacro OxModeFromCommandLine
  !insertmacro OxApplyMode
  StrCpy $0 "_?=$INSTDIR"
  ClearErrors
  ${GetOptions} $R0 "/REMOVEDATA" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUserData}
    StrCpy $0 "/REMOVEDATA $0"
  ${EndIf}
  Call un.ElevateForAllUsers
FunctionEnd
