#!/usr/bin/env bash
# CTest's emulator for the test programs: runs one under Wine's loader (the
# first argument) and, when it fails, says with what exit code and how soon.
# Wine hides its own errors here (WINEDEBUG) and has a program that it could
# not start end at once without a word: such a failure then names its cause.
loader="$1"
shift
start=$(date +%s%N)
"$loader" "$@"
status=$?
if [ "$status" -ne 0 ]; then
    elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
    echo "run-under-wine: exit code $status after $elapsed ms" >&2
    if [ "$elapsed" -lt 1000 ]; then
        # Ended before a test could have run: what Wine and the desktop were doing.
        pgrep -a -f 'wineserver|explorer.exe|rvholddesktop|\.scr|\.exe' 2>/dev/null | sed 's/^/  /' >&2
    fi
fi
exit "$status"
