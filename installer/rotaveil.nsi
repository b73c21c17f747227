; The Rotaveil setup program: one file for every Windows. The ANSI stub runs on
; Windows 95, 98, Me, NT 4.0 and later; it installs the 64-bit programs on
; 64-bit Windows and the 32-bit ones elsewhere, into the Windows folder.
; Built by tools/make-installer.sh, which defines VERSION, OUTFILE, BIN32,
; BIN64 and ICON.
Unicode false
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include x64.nsh
!include WinVer.nsh
!include FileFunc.nsh
!include MUI2.nsh

!define ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rotaveil"
!define UNINSTALLER "rvuninst.exe"

Name "Rotaveil"
OutFile "${OUTFILE}"
InstallDir "$WINDIR"
; The Windows folder and HKEY_LOCAL_MACHINE need an administrator under UAC.
RequestExecutionLevel admin
ShowInstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Rotaveil"
VIAddVersionKey CompanyName "Quillmark"
VIAddVersionKey FileDescription "Rotaveil setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Quillmark"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Make Rotaveil the screen saver now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartCompanionAsUser
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Rotaveil has been removed from your computer.$\r$\n$\r$\n$UnFinishNote"
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

; The Add/Remove Programs entry lives in the system's own registry view.
!macro NativeRegistryView
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
!macroend

; Copies a program of the build that fits this Windows: the 64-bit one only
; where it runs natively (x64; Windows on ARM runs no x64 programs before 11,
; but every 32-bit one). One still held open (a preview in Display
; Properties, say) is written beside itself and put in place at the next
; restart, which the setup then offers.
!macro NativeProgram file
    SetOverwrite try
    ClearErrors
    ${If} ${IsNativeAMD64}
        File "${BIN64}\${file}"
    ${Else}
        File "${BIN32}\${file}"
    ${EndIf}
    ${If} ${Errors}
        SetOverwrite on
        ${If} ${IsNativeAMD64}
            File "/oname=${file}.new" "${BIN64}\${file}"
        ${Else}
            File "/oname=${file}.new" "${BIN32}\${file}"
        ${EndIf}
        Rename /REBOOTOK "$WINDIR\${file}.new" "$WINDIR\${file}"
        DetailPrint "${file} is in use: it is replaced when Windows restarts."
    ${EndIf}
    SetOverwrite on
!macroend

Var CompanionWasThere
Var UnFinishNote  ; what the uninstaller did with the user's screen saver

; Before files are replaced: what runs Rotaveil's programs is closed politely,
; the companion by its own command (which removes its start-up entries: they
; come back when it is started again afterwards), the settings dialog by its
; Cancel, a session or preview window by WM_CLOSE.
Function CloseRunningPrograms
    StrCpy $CompanionWasThere 0
    ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion\Run" "RVTRAY.EXE"
    ReadRegStr $1 HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "RVTRAY.EXE"
    FindWindow $2 "Rota Veil" "Rota Veil"
    ${If} $0 != ""
    ${OrIf} $1 != ""
    ${OrIf} $2 != 0
        StrCpy $CompanionWasThere 1
    ${EndIf}
    ${If} ${FileExists} "$WINDIR\rvtray.exe"
        ExecWait '"$WINDIR\rvtray.exe" /u'
    ${EndIf}
    FindWindow $0 "#32770" "Rotaveil settings"
    ${If} $0 != 0
        SendMessage $0 ${WM_COMMAND} 2 0 /TIMEOUT=5000
    ${EndIf}
    FindWindow $0 "Rotaveil" "Rotaveil"
    ${If} $0 != 0
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    ; Their processes end after their windows.
    Sleep 1000
FunctionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/?" $1
    ${IfNot} ${Errors}
        MessageBox MB_OK|MB_ICONINFORMATION "Rotaveil setup$\n$\n/S$\tinstalls silently (no pages; the companion is not started)$\n$\nThe programs always go into the Windows folder, where Windows looks for screen savers: /D= is ignored."
        Quit
    ${EndIf}
    ; Windows 2000 and XP ignore RequestExecutionLevel: a limited user would
    ; meet write failures half-way. The Windows 95 family has no such rights.
    ${If} ${IsNT}
        UserInfo::GetAccountType
        Pop $0
        ${If} $0 != "Admin"
            MessageBox MB_OK|MB_ICONSTOP "Rotaveil's setup must be run by an administrator: it writes to the Windows folder. Nothing was changed." /SD IDOK
            SetErrorLevel 740
            Quit
        ${EndIf}
    ${EndIf}
    !insertmacro NativeRegistryView
FunctionEnd

; The user of a process's token as text ("S-1-5-..."), in $R9; empty when it
; cannot be read. $R0: the process handle.
Function TokenUserText
    StrCpy $R9 ""
    System::Call 'advapi32::OpenProcessToken(p R0, i 8, *p .R1) i .R2'
    ${If} $R2 == 0
        Return
    ${EndIf}
    System::Call 'advapi32::GetTokenInformation(p R1, i 1, p 0, i 0, *i .R3)'
    System::Alloc $R3
    Pop $R4
    System::Call 'advapi32::GetTokenInformation(p R1, i 1, p R4, i R3, *i .R3) i .R2'
    ${If} $R2 != 0
        System::Call '*$R4(p .R5)'
        System::Call 'advapi32::ConvertSidToStringSidA(p R5, *p .R6) i .R2'
        ${If} $R2 != 0
            System::Call '*$R6(&m256 .R9)'
            System::Call 'kernel32::LocalFree(p R6)'
        ${EndIf}
    ${EndIf}
    System::Free $R4
    System::Call 'kernel32::CloseHandle(p R1)'
FunctionEnd

; $0 = 1 when the desktop's shell runs as the user of this setup, so that a
; companion started now takes that user's settings. Not so where another
; user's password elevated the setup (HKEY_CURRENT_USER is theirs), in a
; service (no shell on its desktop), or where the system cannot tell (NT 4.0).
; The Windows 95 family has one user.
Function ShellIsOurs
    StrCpy $0 1
    ${IfNot} ${IsNT}
        Return
    ${EndIf}
    StrCpy $0 0
    System::Call 'user32::GetShellWindow() p .r1'
    ${If} $1 == 0
    ${OrIf} $1 == "error"
        Return
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    System::Call 'kernel32::OpenProcess(i 0x400, i 0, i r2) p .R0'
    ${If} $R0 == 0
        Return
    ${EndIf}
    Call TokenUserText
    StrCpy $3 $R9
    System::Call 'kernel32::CloseHandle(p R0)'
    System::Call 'kernel32::GetCurrentProcess() p .R0'
    Call TokenUserText
    ${If} $3 != ""
    ${AndIf} $3 == $R9
        StrCpy $0 1
    ${EndIf}
FunctionEnd

; The finish page's choice: the companion makes Rotaveil the screen saver of
; the user who runs it and adds its start-up entry there, so it must run as
; the desktop's user, not elevated as the setup is (Explorer starts it as
; that user). Before Vista the setup runs as that user. Where the setup is
; not the desktop's user, the start-up entry is written for every user
; instead, and the companion starts at the next logon.
Function StartCompanionAsUser
    Call ShellIsOurs
    ${If} $0 != 1
        WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Run" "RVTRAY.EXE" '"$WINDIR\rvtray.exe"'
        DetailPrint "Rotaveil's companion starts at the next logon."
        MessageBox MB_OK|MB_ICONINFORMATION "This setup does not run as the user of the desktop: Rotaveil's companion starts, and makes Rotaveil the screen saver, when you next log on." /SD IDOK
        Return
    ${EndIf}
    ${If} ${AtLeastWinVista}
        Exec '"$WINDIR\explorer.exe" "$WINDIR\rvtray.exe"'
    ${Else}
        Exec '"$WINDIR\rvtray.exe"'
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro NativeRegistryView
FunctionEnd

Section "Rotaveil" SectionMain
    SectionIn RO
    SetOutPath "$WINDIR"
    Call CloseRunningPrograms
    !insertmacro NativeProgram "_Rotaveil.scr"
    !insertmacro NativeProgram "rvtray.exe"
    File "${BIN32}\rvtray.hlp"
    File "${BIN32}\rvtray.cnt"
    File "${BIN32}\rvtray.chm"
    WriteUninstaller "$WINDIR\${UNINSTALLER}"

    WriteRegStr HKLM "${ARP_KEY}" "DisplayName" "Rotaveil"
    WriteRegStr HKLM "${ARP_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${ARP_KEY}" "Publisher" "Quillmark"
    WriteRegStr HKLM "${ARP_KEY}" "DisplayIcon" "$WINDIR\rvtray.exe,0"
    WriteRegStr HKLM "${ARP_KEY}" "InstallLocation" "$WINDIR"
    WriteRegStr HKLM "${ARP_KEY}" "UninstallString" '"$WINDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${ARP_KEY}" "QuietUninstallString" '"$WINDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${ARP_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${ARP_KEY}" "NoRepair" 1
    ; An upgrade leaves the companion as it found it: its start-up entry and
    ; icon come back (a silent upgrade too).
    ${If} $CompanionWasThere == 1
        Call StartCompanionAsUser
    ${EndIf}
SectionEnd

Function .onInstSuccess
    ${If} ${RebootFlag}
        MessageBox MB_YESNO|MB_ICONQUESTION "Some of Rotaveil's files are in use and are replaced when Windows restarts. Restart now?" /SD IDNO IDNO +2
        Reboot
    ${EndIf}
FunctionEnd

Function un.onUninstSuccess
    ${If} ${RebootFlag}
        MessageBox MB_YESNO|MB_ICONQUESTION "Some of Rotaveil's files are in use and are removed when Windows restarts. Restart now?" /SD IDNO IDNO +2
        Reboot
    ${EndIf}
FunctionEnd

Section "Sample screen savers" SectionSamples
    SetOutPath "$WINDIR"
    !insertmacro NativeProgram "Starfield.scr"
    !insertmacro NativeProgram "Plasma.scr"
    !insertmacro NativeProgram "Drifting Clock.scr"
    ; The uninstaller removes the samples only where this setup put them.
    WriteRegDWORD HKLM "${ARP_KEY}" "Samples" 1
SectionEnd

; Where the system's screen-saver entry names the file that goes (the
; companion writes the short path): the screen saver the user had before
; Rotaveil instead ($2, recorded by the companion), or none.
!macro GiveBackScreenSaverEntry read write delete
    ${read}
    ${If} $0 != ""
        ${If} $0 == "$WINDIR\_Rotaveil.scr"
        ${OrIf} $0 == $1
            ${If} $2 != ""
                ${write}
            ${Else}
                ${delete}
            ${EndIf}
            StrCpy $4 1
        ${EndIf}
    ${EndIf}
!macroend

; The screen saver stays switched on as it was, and with it the lock it
; carries: switching it off would take the account's idle lock away. The
; system is told, so that the running session of Windows takes the change.
Function un.GiveBackScreenSaver
    StrCpy $4 0
    GetFullPathName /SHORT $1 "$WINDIR\_Rotaveil.scr"
    ReadRegStr $2 HKCU "Software\Quillmark\RvTray" "PreviousScreenSaver"
    ; As the system sees the system folder, not as this 32-bit program does.
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    ${IfNot} ${FileExists} $2
        StrCpy $2 ""
    ${EndIf}
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
    !insertmacro GiveBackScreenSaverEntry `ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"` \
        `WriteRegStr HKCU "Control Panel\Desktop" "SCRNSAVE.EXE" $2` \
        `DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"`
    !insertmacro GiveBackScreenSaverEntry `ReadINIStr $0 "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"` \
        `WriteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE" $2` \
        `DeleteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"`
    FlushINI "$WINDIR\system.ini"
    ${If} $4 == 1
        ; SPI_GETSCREENSAVEACTIVE, then SPI_SETSCREENSAVEACTIVE with the same,
        ; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
        System::Call 'user32::SystemParametersInfoA(i 16, i 0, *i .r3, i 0)'
        System::Call 'user32::SystemParametersInfoA(i 17, i r3, p 0, i 3)'
        ${If} $2 != ""
            StrCpy $UnFinishNote "Windows shows your screen saver from before Rotaveil again ($2)."
        ${Else}
            StrCpy $UnFinishNote "Windows now starts no screen saver for you, and so no password when you are away: choose one in the display settings to have them again."
        ${EndIf}
        DetailPrint $UnFinishNote
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; Closes a running companion and removes its start-up entries.
    IfFileExists "$WINDIR\rvtray.exe" 0 +2
        ExecWait '"$WINDIR\rvtray.exe" /u'
    Call un.GiveBackScreenSaver

    Delete /REBOOTOK "$WINDIR\_Rotaveil.scr"
    Delete /REBOOTOK "$WINDIR\rvtray.exe"
    Delete "$WINDIR\rvtray.hlp"
    Delete "$WINDIR\rvtray.cnt"
    Delete "$WINDIR\rvtray.chm"
    ; The message log beside the programs (each user's own, under their local
    ; application data, stays with their settings).
    Delete "$WINDIR\_Rotaveil.log"
    ; WinHelp's index of the help file, made beside it on first use.
    Delete "$WINDIR\rvtray.gid"
    ReadRegDWORD $0 HKLM "${ARP_KEY}" "Samples"
    ${If} $0 == 1
        Delete /REBOOTOK "$WINDIR\Starfield.scr"
        Delete /REBOOTOK "$WINDIR\Plasma.scr"
        Delete /REBOOTOK "$WINDIR\Drifting Clock.scr"
    ${EndIf}
    Delete "$WINDIR\${UNINSTALLER}"
    DeleteRegKey HKLM "${ARP_KEY}"
    ; The play-list and settings under HKEY_CURRENT_USER stay, for a reinstall.
SectionEnd
