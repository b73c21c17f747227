; The Rotaveil setup program: one file for every Windows. The ANSI stub runs on
; Windows 95, 98, Me, NT 4.0 and later; it installs the 64-bit programs on
; 64-bit Windows and the 32-bit ones elsewhere, into the Windows folder.
; Built by tools/make-installer.sh, which defines VERSION, OUTFILE, BIN32,
; BIN64 and ICON.
Unicode false
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include x64.nsh
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
!define MUI_FINISHPAGE_RUN "$WINDIR\rvtray.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Make Rotaveil the screen saver now"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The Add/Remove Programs entry lives in the system's own registry view.
!macro NativeRegistryView
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
!macroend

; Copies a program of the build that fits this Windows.
!macro NativeProgram file
    ${If} ${RunningX64}
        File "${BIN64}\${file}"
    ${Else}
        File "${BIN32}\${file}"
    ${EndIf}
!macroend

Function .onInit
    !insertmacro NativeRegistryView
FunctionEnd

Function un.onInit
    !insertmacro NativeRegistryView
FunctionEnd

Section "Rotaveil" SectionMain
    SectionIn RO
    SetOutPath "$WINDIR"
    ; A running companion holds rvtray.exe open: close it before replacing it.
    IfFileExists "$WINDIR\rvtray.exe" 0 +2
        ExecWait '"$WINDIR\rvtray.exe" /u'
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
SectionEnd

Section "Sample screen savers" SectionSamples
    SetOutPath "$WINDIR"
    !insertmacro NativeProgram "Starfield.scr"
    !insertmacro NativeProgram "Plasma.scr"
    !insertmacro NativeProgram "Drifting Clock.scr"
    ; The uninstaller removes the samples only where this setup put them.
    WriteRegDWORD HKLM "${ARP_KEY}" "Samples" 1
SectionEnd

; Removes the system's screen-saver entry when it names the file that goes
; (the companion writes the short path).
!macro ForgetScreenSaverEntry read delete
    ${read}
    ${If} $0 != ""
        ${If} $0 == "$WINDIR\_Rotaveil.scr"
        ${OrIf} $0 == $1
            ${delete}
        ${EndIf}
    ${EndIf}
!macroend

Function un.ForgetScreenSaver
    GetFullPathName /SHORT $1 "$WINDIR\_Rotaveil.scr"
    !insertmacro ForgetScreenSaverEntry `ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"` \
        `DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"`
    ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
    ${If} $0 == ""
        WriteRegStr HKCU "Control Panel\Desktop" "ScreenSaveActive" "0"
    ${EndIf}
    !insertmacro ForgetScreenSaverEntry `ReadINIStr $0 "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"` \
        `DeleteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"`
    FlushINI "$WINDIR\system.ini"
FunctionEnd

Section "Uninstall"
    ; Closes a running companion and removes its start-up entries.
    IfFileExists "$WINDIR\rvtray.exe" 0 +2
        ExecWait '"$WINDIR\rvtray.exe" /u'
    Call un.ForgetScreenSaver

    Delete /REBOOTOK "$WINDIR\_Rotaveil.scr"
    Delete /REBOOTOK "$WINDIR\rvtray.exe"
    Delete "$WINDIR\rvtray.hlp"
    Delete "$WINDIR\rvtray.cnt"
    Delete "$WINDIR\rvtray.chm"
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
