; The setup program of Quenby, built on Linux with makensis (see cmake/Package.cmake), which
; defines VERSION, VERSION_QUAD, PROGRAM_DIR (the built program files), SOURCE_DIR and OUTFILE.
;
; A 64-bit setup program for the 64-bit Quenby, writing into the 64-bit view of the registry (never
; WOW6432Node). It installs the four program files into the 64-bit %ProgramFiles%\Quenby, records
; that folder under HKLM\Software\Quenby (InstallDir: a program started from there keeps its data
; in the shared folder), creates %ProgramData%\Quenby with modify rights for the Users group, a Start-menu
; shortcut and the entry in "Apps". The uninstaller removes nothing unless Quenby itself accepted
; the Administrator's password ("Quenby.exe /uninstall").
;
; Switches: /S silent. The uninstaller keeps the data folder when silent, unless /REMOVEDATA is
; given; interactive, it asks.

Target amd64-unicode
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Quenby"
!define PUBLISHER "The Quenby developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenby"
!define PRODUCT_KEY "Software\Quenby"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
; The well-known identifier of the local Users group, whatever the system's language.
!define USERS_SID "*S-1-5-32-545"

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
!define MUI_WELCOMEPAGE_TEXT "Quenby keeps your children's computer time within the limits you set.$\r$\n$\r$\nIt is installed for every Windows account of this computer. Its settings and the time used are kept in $\"ProgramData\Quenby$\".$\r$\n$\r$\nWhen Quenby starts, the screen locks. The first time, it asks you for the Administrator password: choose one you will remember."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Quenby now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartQuenby

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The 64-bit registry view before anything reads or writes a key.
Function .onInit
    SetRegView 64
FunctionEnd

Section "Quenby"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${PROGRAM_DIR}/Quenby.exe"
    File "${PROGRAM_DIR}/Lumrik.dll"
    File "${PROGRAM_DIR}/Tessaly.exe"
    File "${PROGRAM_DIR}/alert.wav"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The data folder of every Windows account: Users may change its files (icacls is part of
    ; Windows since Vista; where it is missing the folder keeps the system's rights).
    CreateDirectory "$APPDATA\Quenby"
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$APPDATA\Quenby" /grant ${USERS_SID}:(OI)(CI)M'
    Pop $0
    DetailPrint "Rights of the data folder for Users: $0"
    WriteRegStr HKLM "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"

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
    ; The start with Windows of the account that uninstalls (Quenby writes both values in the
    ; account it runs in): the auto-run value and the value that starts it in Safe Mode too.
    DeleteRegValue HKCU "${RUN_KEY}" "Quenby"
    DeleteRegValue HKCU "${RUNONCE_KEY}" "*Quenby"

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
