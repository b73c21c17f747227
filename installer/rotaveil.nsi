; The Rotaveil setup program: one file for every Windows. The ANSI stub runs on
; Windows 95, 98, Me, NT 4.0 and later; it installs the 64-bit programs on
; 64-bit Windows and the 32-bit ones elsewhere, into the Windows folder.
; Built by tools/make-installer.sh, which defines VERSION, OUTFILE, BIN32,
; BIN64 and ICON. With AMD64 defined it is built for the 64-bit Unicode stub
; instead: not shipped, but the test of this script on machines that run no
; 32-bit programs.
!pragma warning error all
!ifdef AMD64
Target amd64-unicode
!define API_SUFFIX W
!else
Unicode false
!define API_SUFFIX A
!endif
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
Var UnFinishNote  ; what the uninstaller did with the user's screen saver
!define MUI_FINISHPAGE_TEXT "Rotaveil has been removed from your computer.$\r$\n$\r$\n$UnFinishNote"
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

; The Add/Remove Programs entry lives in the system's own registry view.
; (The 64-bit build of this script always runs on 64-bit Windows.)
!macro NativeRegistryView
!ifdef AMD64
    SetRegView 64
!else
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
!endif
!macroend

; The system folder as the system sees it, not as a 32-bit program does.
!macro SystemFileView
!ifndef AMD64
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
!endif
!macroend
!macro OwnFileView
!ifndef AMD64
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
!endif
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

;; Sends window $0 message $R1 (wParam $R2) to close it and gives its process
; five seconds to end: what it writes as it ends (the message log) is
; written before the files go.
!macro WaitForWindowsProcessFunction un
Function ${un}CloseAndWait
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; SYNCHRONIZE
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    SendMessage $0 $R1 $R2 0 /TIMEOUT=5000
    ${If} $2 != 0
        System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
        System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
FunctionEnd

; What runs Rotaveil's programs is closed politely before files are
; replaced or removed: the companion by its own command (which removes its
; start-up entries: they come back when it is started again afterwards), the
; settings dialog by its Cancel, each session or preview window by WM_CLOSE,
; and their processes are waited for.
Function ${un}CloseRunningPrograms
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
        ; Its Cancel
        StrCpy $R1 ${WM_COMMAND}
        StrCpy $R2 2
        Call ${un}CloseAndWait
    ${EndIf}
    StrCpy $R1 ${WM_CLOSE}
    StrCpy $R2 0
    ; A session, and previews in Display Properties: a few at most, and one
    ; that refuses (a locked session asks its password) is not waited for
    ; again and again.
    StrCpy $3 0
    ${Do}
        FindWindow $0 "Rotaveil" "Rotaveil"
        ${If} $0 == 0
        ${OrIf} $3 >= 4
            ${Break}
        ${EndIf}
        Call ${un}CloseAndWait
        IntOp $3 $3 + 1
    ${Loop}
FunctionEnd
!macroend
!insertmacro WaitForWindowsProcessFunction ""
!insertmacro WaitForWindowsProcessFunction "un."

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

!macro UserFunctions un
; The user of a process's token as text ("S-1-5-..."), in $R9; empty when it
; cannot be read. $R0: the process handle.
Function ${un}TokenUserText
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
        System::Call 'advapi32::ConvertSidToStringSid${API_SUFFIX}(p R5, *p .R6) i .R2'
        ${If} $R2 != 0
            System::Call '*$R6(&t256 .R9)'
            System::Call 'kernel32::LocalFree(p R6)'
        ${EndIf}
    ${EndIf}
    System::Free $R4
    System::Call 'kernel32::CloseHandle(p R1)'
FunctionEnd

; $0 = 1 when the desktop's shell runs as the user of this setup, so that a
; companion started now takes that user's settings; $3 is the shell's user
; where it could be read. Not so where another
; user's password elevated the setup (HKEY_CURRENT_USER is theirs), in a
; service (no shell on its desktop), or where the system cannot tell (NT 4.0).
; The Windows 95 family has one user.
Function ${un}ShellIsOurs
    StrCpy $0 1
    StrCpy $3 ""
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
    Call ${un}TokenUserText
    StrCpy $3 $R9
    System::Call 'kernel32::CloseHandle(p R0)'
    System::Call 'kernel32::GetCurrentProcess() p .R0'
    Call ${un}TokenUserText
    ${If} $3 != ""
    ${AndIf} $3 == $R9
        StrCpy $0 1
    ${EndIf}
FunctionEnd
!macroend
!insertmacro UserFunctions ""
!insertmacro UserFunctions "un."

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

Var PreviousScreenSaver  ; the user's screen saver from before Rotaveil, to give back
Var OurShortPath         ; _Rotaveil.scr as the companion writes it (short)
Var UserHive             ; empty: HKEY_CURRENT_USER is the desktop's user; else their SID
Var UserUnreached        ; 1: the desktop's user is another, whose settings are not loaded

; A registry instruction on the desktop's user: HKEY_CURRENT_USER, or that
; user's hive under HKEY_USERS where an administrator's password elevated the
; uninstall (Vista and later) and HKEY_CURRENT_USER is the administrator's.
!macro OnDesktopUser instruction key rest
    ${If} $UserHive == ""
        ${instruction} HKCU "${key}" ${rest}
    ${Else}
        ${instruction} HKU "$UserHive\${key}" ${rest}
    ${EndIf}
!macroend

; Whose screen saver this is. Without a shell (a service, or no shell at
; all) or where the system cannot tell (NT 4.0) the uninstaller's own user
; is the best guess; the Windows 95 family has one user.
Function un.FindDesktopUser
    StrCpy $UserHive ""
    StrCpy $UserUnreached 0
    Call un.ShellIsOurs
    ${If} $0 == 1
    ${OrIf} $3 == ""
        Return
    ${EndIf}
    ; A logged-on user's hive is loaded under their SID.
    ClearErrors
    EnumRegKey $1 HKU "$3" 0
    ${If} ${Errors}
    ${OrIf} $1 == ""
        StrCpy $UserUnreached 1
    ${Else}
        StrCpy $UserHive $3
        DetailPrint "The screen saver and start-up entry are those of the desktop's user ($3)."
    ${EndIf}
FunctionEnd

; A file this uninstaller removes is no screen saver to give back; the
; comparison is by short path, which needs the files still there.
!macro ForgetPreviousIfRemoved file
    GetFullPathName /SHORT $1 "$WINDIR\${file}"
    ${If} $1 != ""
    ${AndIf} $1 == $0
        StrCpy $PreviousScreenSaver ""
    ${EndIf}
!macroend

; Before any file goes: the screen saver to give back and the short path
; that names Rotaveil.
Function un.ReadPreviousScreenSaver
    GetFullPathName /SHORT $OurShortPath "$WINDIR\_Rotaveil.scr"
    !insertmacro OnDesktopUser "ReadRegStr $PreviousScreenSaver" "Software\Quillmark\RvTray" "PreviousScreenSaver"
    ${If} $PreviousScreenSaver == ""
        Return
    ${EndIf}
    !insertmacro SystemFileView
    GetFullPathName /SHORT $0 $PreviousScreenSaver
    !insertmacro OwnFileView
    !insertmacro ForgetPreviousIfRemoved "_Rotaveil.scr"
    ReadRegDWORD $2 HKLM "${ARP_KEY}" "Samples"
    ${If} $2 == 1
        !insertmacro ForgetPreviousIfRemoved "Starfield.scr"
        !insertmacro ForgetPreviousIfRemoved "Plasma.scr"
        !insertmacro ForgetPreviousIfRemoved "Drifting Clock.scr"
    ${EndIf}
    ${If} $PreviousScreenSaver == ""
        DetailPrint "The screen saver from before Rotaveil was one of its own files: it is not given back."
    ${EndIf}
FunctionEnd

; Only a screen saver file that is still there after the removal: not a
; folder, not another kind of file. As the system sees the system folder,
; not as a 32-bit program does.
Function un.KeepPreviousOnlyIfThere
    ${If} $PreviousScreenSaver == ""
        Return
    ${EndIf}
    !insertmacro SystemFileView
    System::Call 'kernel32::GetFileAttributes${API_SUFFIX}(t "$PreviousScreenSaver") i .r1'
    !insertmacro OwnFileView
    StrCpy $2 $PreviousScreenSaver "" -4
    ${If} $1 == -1
    ${OrIf} $2 != ".scr"
        StrCpy $PreviousScreenSaver ""
    ${Else}
        ; FILE_ATTRIBUTE_DIRECTORY
        IntOp $1 $1 & 0x10
        ${If} $1 != 0
            StrCpy $PreviousScreenSaver ""
        ${EndIf}
    ${EndIf}
FunctionEnd

; Where the system's screen-saver entry names the file that goes (the
; companion writes the short path): the screen saver the user had before
; Rotaveil instead, or none. $4 becomes 1 when it named Rotaveil.
!macro GiveBackScreenSaverEntry read write delete
    ${read}
    ${If} $0 != ""
        ${If} $0 == "$WINDIR\_Rotaveil.scr"
        ${OrIf} $0 == $OurShortPath
            ${If} $PreviousScreenSaver != ""
                ${write}
            ${Else}
                ${delete}
            ${EndIf}
            StrCpy $4 1
        ${EndIf}
    ${EndIf}
!macroend

; After the files are gone. The screen saver stays switched on as it was,
; and with it the lock it carries: switching it off would take the account's
; idle lock away. The system is told, so that the running session of Windows
; takes the change.
Function un.GiveBackScreenSaver
    StrCpy $4 0
    ${If} $UserUnreached == 1
        StrCpy $UnFinishNote "Another user is logged on to this desktop, whose settings this removal could not reach. That user should choose a screen saver in the display settings (Windows starts none, and asks no password, while the removed Rotaveil is chosen) and, if Rotaveil's companion (RVTRAY.EXE) is listed among the programs that start at logon, remove it."
        DetailPrint $UnFinishNote
        Return
    ${EndIf}
    Call un.KeepPreviousOnlyIfThere
    ${If} $UserHive == ""
        !insertmacro GiveBackScreenSaverEntry `ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"` \
            `WriteRegStr HKCU "Control Panel\Desktop" "SCRNSAVE.EXE" $PreviousScreenSaver` \
            `DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"`
    ${Else}
        !insertmacro GiveBackScreenSaverEntry `ReadRegStr $0 HKU "$UserHive\Control Panel\Desktop" "SCRNSAVE.EXE"` \
            `WriteRegStr HKU "$UserHive\Control Panel\Desktop" "SCRNSAVE.EXE" $PreviousScreenSaver` \
            `DeleteRegValue HKU "$UserHive\Control Panel\Desktop" "SCRNSAVE.EXE"`
        ; The companion's /u, run as this uninstaller's user, reached only
        ; that user's own start-up entry.
        DeleteRegValue HKU "$UserHive\Software\Microsoft\Windows\CurrentVersion\Run" "RVTRAY.EXE"
    ${EndIf}
    !insertmacro GiveBackScreenSaverEntry `ReadINIStr $0 "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"` \
        `WriteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE" $PreviousScreenSaver` \
        `DeleteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"`
    FlushINI "$WINDIR\system.ini"
    ${If} $4 != 1
        StrCpy $UnFinishNote "Your screen saver was not Rotaveil: it is left as it was."
    ${Else}
        ; Another user's session reads the entry when it next starts a screen
        ; saver; this one's settings would be the administrator's.
        ${If} $UserHive == ""
            ; SPI_GETSCREENSAVEACTIVE, then SPI_SETSCREENSAVEACTIVE with the
            ; same, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
            System::Call 'user32::SystemParametersInfo${API_SUFFIX}(i 16, i 0, *i .r3, i 0)'
            System::Call 'user32::SystemParametersInfo${API_SUFFIX}(i 17, i r3, p 0, i 3)'
        ${EndIf}
        ${If} $PreviousScreenSaver != ""
            StrCpy $UnFinishNote "Windows shows your screen saver from before Rotaveil again ($PreviousScreenSaver)."
        ${Else}
            StrCpy $UnFinishNote "Windows now starts no screen saver for you, and so asks no password when you are away: choose one in the display settings to have them again."
        ${EndIf}
    ${EndIf}
    ${If} $UserHive != ""
        StrCpy $UnFinishNote "$UnFinishNote$\r$\n$\r$\nThis was done for the user logged on to this desktop, not for the administrator whose password allowed the removal."
    ${EndIf}
    DetailPrint $UnFinishNote
FunctionEnd

Section "Uninstall"
    ; Nothing of Rotaveil's runs while its files go: the companion (which
    ; removes its start-up entries), the dialog, a session or a preview.
    Call un.CloseRunningPrograms
    Call un.FindDesktopUser
    Call un.ReadPreviousScreenSaver

    Delete /REBOOTOK "$WINDIR\_Rotaveil.scr"
    Delete /REBOOTOK "$WINDIR\rvtray.exe"
    Delete "$WINDIR\rvtray.hlp"
    Delete "$WINDIR\rvtray.cnt"
    Delete "$WINDIR\rvtray.chm"
    ; The message log beside the programs (each user's own, under their local
    ; application data, stays with their settings), written last by the
    ; session closed above.
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
    Call un.GiveBackScreenSaver
    ; The play-list and settings under HKEY_CURRENT_USER stay, for a reinstall.
SectionEnd
