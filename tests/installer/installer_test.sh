#!/usr/bin/env bash
# The setup program in a fresh prefix of one kind (win64: 64-bit Windows, the
# 64-bit programs; win32: 32-bit Windows, the 32-bit ones): a silent install
# with a running companion, then the quiet uninstall string of its Add/Remove
# Programs entry. Wine's exit code says nothing (0 also when a program could
# not start), so only effects are checked. Exit 77: cannot be run here.
# The shipped setup is a 32-bit program: where this machine runs none, the
# 64-bit prefix gets the same script built for NSIS's 64-bit stub instead.
#   tests/installer/installer_test.sh win64|win32
set -uo pipefail
kind="$1"
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v makensis >/dev/null || { echo "skipped: makensis is not installed"; exit 77; }
. "$root/tools/wine-env.sh"

work=$(mktemp -d)
target=x86
if ! why=$(rv_wine_runs_32_bit "$work/probe" "$root/build/tests32/bin/pure_tests.exe"); then
    [ "$kind" = win32 ] && { echo "skipped: a 32-bit prefix needs 32-bit programs: $why"; rm -rf "$work"; exit 77; }
    target=amd64
fi
echo "the setup built for NSIS's $target stub, in a $kind prefix${why:+ ($why)}"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ "$kind" = win32 ]; then
    export WINEARCH=win32
    wine=/usr/lib/wine/wine expected=pei-i386
else
    unset WINEARCH
    wine=/usr/lib/wine/wine64 expected=pei-x86-64
fi
finish() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1
    rm -rf "$work"
}
trap finish EXIT
faults=0
fail() { echo "FAIL: $*"; faults=$((faults + 1)); }

"$root/tools/make-installer.sh" "$work/rotaveil-setup.exe" "$target" || { echo "FAIL: makensis"; exit 1; }
"$wine" wineboot -i >/dev/null 2>&1
windows="$WINEPREFIX/drive_c/windows"
arp='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rotaveil'
query() { "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
# Wine's own services keep the server up: wait for what is looked for instead.
within() {   # seconds, test...
    local limit=$(( $1 * 5 )); shift
    for _ in $(seq "$limit"); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
companion_runs() { pgrep -f 'windows.rvtray\.exe' >/dev/null; }

"$wine" "$work/rotaveil-setup.exe" /S >/dev/null 2>&1
within 30 test -f "$windows/rvuninst.exe"
files=(_Rotaveil.scr rvtray.exe rvtray.hlp rvtray.cnt rvtray.chm Starfield.scr Plasma.scr
       "Drifting Clock.scr" rvuninst.exe)
for file in "${files[@]}"; do
    [ -f "$windows/$file" ] || fail "setup did not install $file"
done
for program in _Rotaveil.scr rvtray.exe Plasma.scr; do
    format=$(x86_64-w64-mingw32-objdump -f "$windows/$program" 2>/dev/null | sed -n 's/.*file format //p')
    [ "$format" = "$expected" ] || fail "$program is $format, not $expected"
done
[ "$(query "$arp" DisplayName)" = Rotaveil ] || fail "no Add/Remove Programs entry in the system's view"
[ "$(query "$arp" Publisher)" = Quillmark ] || fail "the entry names no publisher"
quiet=$(query "$arp" QuietUninstallString)
[ "$quiet" = '"C:\windows\rvuninst.exe" /S' ] || fail "quiet uninstall string: '$quiet'"

# The companion as a user leaves it: running, the screen saver and start-up
# entry set; the user's own screen saver before it is given back at the end.
cp "$windows/Plasma.scr" "$windows/system32/previous.scr"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /d 'C:\windows\system32\previous.scr' \
    /f >/dev/null 2>&1
"$wine" 'C:\windows\rvtray.exe' >/dev/null 2>&1 &
screen_saver_set() { query 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE | grep -qvi 'previous\|^$'; }
within 20 screen_saver_set || fail "the companion set no screen saver"
within 10 companion_runs || fail "the companion is not running"

# An upgrade over the running companion and an open settings dialog: both
# closed, the files replaced, the start-up entry back. Wine has no shell
# window (GetShellWindow), as a service has none: the companion is left to
# the next logon rather than started as a user the setup cannot tell.
"$wine" 'C:\windows\_Rotaveil.scr' /c >/dev/null 2>&1 &
dialog_open() { pgrep -f 'windows._Rotaveil\.scr' >/dev/null; }
within 20 dialog_open || fail "the settings dialog did not open"
touch -d 2001-01-01 "$windows/_Rotaveil.scr"
"$wine" "$work/rotaveil-setup.exe" /S >/dev/null 2>&1
within 30 eval '! dialog_open' || fail "the upgrade left the settings dialog open"
[ "$(stat -c %Y "$windows/_Rotaveil.scr")" -gt 1000000000 ] || fail "the upgrade did not replace _Rotaveil.scr"
startup_entry() { [ -n "$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' RVTRAY.EXE)" ]; }
within 10 startup_entry || fail "the start-up entry did not come back after the upgrade"
companion_runs && fail "the upgrade started the companion without a shell to tell its user"
echo "a line" > "$windows/_Rotaveil.log"
# A session runs as the user removes Rotaveil: it must end first, and write
# nothing after (a turn of a removed sample would log its failed start).
"$wine" 'C:\windows\_Rotaveil.scr' /s >/dev/null 2>&1 &
within 20 dialog_open || fail "the session did not start"
sleep 2
# The quiet uninstall string, as Add/Remove Programs runs it.
program=${quiet#\"}
program=${program%%\"*}
uninstall() {
    "$wine" "$program" /S >/dev/null 2>&1
    within 60 test ! -e "$windows/rvuninst.exe"
}
uninstall || fail "the uninstaller did not remove itself"
dialog_open && fail "the uninstall left the session running"
within 10 eval '! companion_runs' || fail "the companion still runs"
for file in "${files[@]}"; do
    [ -e "$windows/$file" ] && fail "the uninstall left $file"
done
[ -z "$(query "$arp" DisplayName)" ] || fail "the uninstall left the Add/Remove Programs entry"
saver=$(query 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)
[ "$saver" = 'C:\windows\system32\previous.scr' ] ||
    fail "the user's screen saver from before was not given back: '$saver'"
[ "$(query 'HKCU\Control Panel\Desktop' ScreenSaveActive)" = 1 ] ||
    fail "the screen saver, and with it the idle lock, was switched off"
[ -e "$windows/_Rotaveil.log" ] && fail "the uninstall left the message log beside the programs"
[ -z "$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' RVTRAY.EXE)" ] ||
    fail "the companion's start-up entry is left"
[ -n "$(query 'HKCU\Software\Quillmark\RvTray' RVTRAY.EXE)" ] || fail "the user's settings were removed"
sleep 3
[ -e "$windows/_Rotaveil.log" ] && fail "a message log was written after the uninstall"

# Nothing to give back: a sample that the uninstall removes with Rotaveil, a
# folder, a file that is no screen saver. Windows is left with none.
cp "$windows/win.ini" "$windows/notes.txt"
for previous in 'C:\windows\Starfield.scr' 'C:\windows' 'C:\windows\notes.txt'; do
    "$wine" "$work/rotaveil-setup.exe" /S >/dev/null 2>&1
    within 30 test -f "$windows/rvuninst.exe" || { fail "setup did not install again"; break; }
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /d 'C:\windows\_Rotaveil.scr' \
        /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Quillmark\RvTray' /v PreviousScreenSaver /d "$previous" \
        /f >/dev/null 2>&1
    uninstall || fail "the uninstaller did not remove itself ($previous before)"
    saver=$(query 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)
    [ -z "$saver" ] || fail "with $previous before, the uninstall chose '$saver'"
done

[ $faults = 0 ] && echo "setup and uninstall in a $kind prefix: all effects as expected"
exit $((faults > 0))
