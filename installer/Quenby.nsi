; The setup program of Quenby, built on Linux with makensis (see cmake/Package.cmake), which
; defines VERSION, VERSION_QUAD, PROGRAM_DIR (the built program files), SOURCE_DIR and OUTFILE.
;
; A 64-bit setup program for the 64-bit Quenby, writing into the 64-bit view of the registry (never
; WOW6432Node). It installs the four program files into the 64-bit %ProgramFiles%\Quenby, records
; that folder under HKLM\Software\Quenby (InstallDir: a program started from there keeps its data
; in the shared folder %ProgramData%\Quenby), takes the Administrator's password (the program's
; first run happens here, nowhere else), and registers the guard service (Tessaly.exe /service:
; automatic, the local system account, restarted after a failure, in Safe Mode too), which owns the
; data folder (Users may only read it), keeps Quenby running in the protected Windows accounts and
; takes every write. No Run or RunOnce value is written: the service starts Quenby. Also a
; Start-menu shortcut and the entry in "Apps". The uninstaller removes nothing unless Quenby itself
; accepted the Administrator's password ("Quenby.exe /uninstall", which stops the service); it then
; removes the service, its Safe Mode keys, the folder's rights and the values Quenby wrote.
;
; Switches: /S silent, which needs /ADMINPASSWORD=<password> (without it nothing is installed).
; The uninstaller keeps the data folder when silent, unless /REMOVEDATA is given; interactive, it asks.

Target amd64-unicode
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "nsDialogs.nsh"

!define PRODUCT "Quenby"
!define PUBLISHER "The Quenby developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby"
!define PRODUCT_KEY "Software\Quenby"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"

Var AdminPassword
Var PasswordField
Var ConfirmField

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quenby"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${SOURCE_DIR}/resources/icons/quenby.ico"
!define MUI_UNICON "${SOURCE_DIR}/resources/icons/quenby.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Quenby keeps your children's computer time within the limits you set.$\r$\n$\r$\nIt is installed for every Windows account of this computer, with a service that keeps it running in your children's accounts and keeps its data out of their reach.$\r$\n$\r$\nNext you choose the Administrator password: the password a parent types to change the rules. Choose one you will remember."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Quenby now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartQuenby

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom PasswordPage PasswordPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The 64-bit registry view before anything reads or writes a key. A silent installation takes the
; Administrator's password from /ADMINPASSWORD= and installs nothing without it.
Function .onInit
    SetRegView 64
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/ADMINPASSWORD=" $AdminPassword
    ${If} ${Silent}
    ${AndIf} $AdminPassword == ""
        SetErrorLevel 2
        Abort
    ${EndIf}
FunctionEnd

; The Administrator's password, typed twice.
Function PasswordPage
    ${If} $AdminPassword != ""
        Abort  ; given on the command line
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Administrator password" "The password a parent types to change Quenby's rules."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 24u "Choose the Administrator password (at most 31 characters). Your children must not know it."
    Pop $0
    ${NSD_CreateLabel} 0 32u 30% 12u "Password:"
    Pop $0
    ${NSD_CreatePassword} 32% 30u 60% 12u ""
    Pop $PasswordField
    ${NSD_CreateLabel} 0 52u 30% 12u "Type it again:"
    Pop $0
    ${NSD_CreatePassword} 32% 50u 60% 12u ""
    Pop $ConfirmField
    nsDialogs::Show
FunctionEnd

Function PasswordPageLeave
    ${NSD_GetText} $PasswordField $0
    ${NSD_GetText} $ConfirmField $1
    StrLen $2 $0
    ${If} $2 == 0
        MessageBox MB_OK|MB_ICONEXCLAMATION "Please choose a password."
        Abort
    ${EndIf}
    ${If} $2 > 31
        MessageBox MB_OK|MB_ICONEXCLAMATION "The password may have at most 31 characters."
        Abort
    ${EndIf}
    ${If} $0 != $1
        MessageBox MB_OK|MB_ICONEXCLAMATION "The two passwords are not the same."
        Abort
    ${EndIf}
    StrCpy $AdminPassword $0
FunctionEnd

Section "Quenby"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${PROGRAM_DIR}/Quenby.exe"
    File "${PROGRAM_DIR}/Lumrik.dll"
    File "${PROGRAM_DIR}/Tessaly.exe"
    File "${PROGRAM_DIR}/alert.wav"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The data folder belongs to the guard service: it sets its rights (the local system account and
    ; Administrators full control, Users read) and keeps the Administrator's password there.
    WriteRegStr HKLM "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"
    nsExec::ExecToLog '"$INSTDIR\Tessaly.exe" /firstrun $AdminPassword'
    Pop $0
    ${If} $0 != 0
        DetailPrint "The Administrator's password could not be kept ($0)."
        SetErrorLevel 3
        Abort "The Administrator's password could not be kept."
    ${EndIf}
    nsExec::ExecToLog '"$INSTDIR\Tessaly.exe" /register'
    Pop $0
    ${If} $0 != 0
        DetailPrint "The guard service could not be registered ($0)."
        SetErrorLevel 4
        Abort "The guard service could not be registered."
    ${EndIf}

    CreateShortCut "$SMPROGRAMS\Quenby.lnk" "$INSTDIR\Quenby.exe" "" "$INSTDIR\Quenby.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quenby.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Starts Quenby in the account that installs it, not elevated: Explorer runs in that account with
; its ordinary rights and starts the program for us. Under Wine, where every program has the same
; rights and Explorer does not open programs, it is started directly.
Function StartQuenby
    ClearErrors
    EnumRegKey $1 HKLM "Software\Wine" 0
    ${If} $1 != ""
        Exec '"$INSTDIR\Quenby.exe"'
    ${Else}
        Exec '"$WINDIR\explorer.exe" "$INSTDIR\Quenby.exe"'
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    ; Quenby asks for the Administrator's password and, when it is right, ends itself and its
    ; companion. Anything else leaves everything as it is.
    ExecWait '"$INSTDIR\Quenby.exe" /uninstall' $0
    ${If} $0 != 0
        MessageBox MB_OK|MB_ICONSTOP "Quenby was not uninstalled: it needs the Administrator's password." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    ; The service, its Safe Mode keys and the data folder's own rights go first.
    nsExec::ExecToLog '"$INSTDIR\Tessaly.exe" /unregister'
    Pop $0
    DetailPrint "The guard service removed: $0"
    Delete "$INSTDIR\Quenby.exe"
    Delete "$INSTDIR\Lumrik.dll"
    Delete "$INSTDIR\Tessaly.exe"
    Delete "$INSTDIR\alert.wav"
    ; Left by an older Quenby that kept its companion's state beside the program.
    Delete "$INSTDIR\lumrik.dat"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Quenby.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${PRODUCT_KEY}"
    ; What Quenby wrote in the account that uninstalls, an earlier version without the service
    ; included: the auto-run values and the second copies of its data.
    DeleteRegValue HKCU "${RUN_KEY}" "Quenby"
    DeleteRegValue HKCU "${RUNONCE_KEY}" "*Quenby"
    DeleteRegKey HKCU "${PRODUCT_KEY}"
    ; The account's own folder (with the shell's folders of all accounts, $LOCALAPPDATA would be
    ; ProgramData, the data folder itself).
    SetShellVarContext current
    RMDir /r "$LOCALAPPDATA\Quenby"
    SetShellVarContext all

    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVEDATA" $R1
    ${If} ${Errors}
        ; Kept when silent; asked otherwise.
        MessageBox MB_YESNO|MB_ICONQUESTION "Keep Quenby's data (accounts, rules and the time used) in $APPDATA\Quenby?$\r$\n$\r$\nChoose Yes if you may install Quenby again." /SD IDYES IDYES keep
    ${EndIf}
    RMDir /r "$APPDATA\Quenby"
keep:
SectionEnd
