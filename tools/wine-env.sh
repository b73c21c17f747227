# Sourced by the scripts that run the Windows programs: a private Wine prefix
# and an X display of their own. Never touches the user's ~/.wine.
#   rv_wine_start PREFIX [win32]  creates the prefix if needed (a 64-bit one,
#                                 or with win32 a 32-bit Windows), starts Xvfb
#                                 and wineserver; RV_WINE is its loader
#   rv_wine_stop                  stops both again
#   rv_wine_runs_32_bit PREFIX PROGRAM  whether this machine runs 32-bit programs
RV_WINE=/usr/lib/wine/wine64
RV_WINE32=/usr/lib/wine/wine
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

rv_wine_start() {
    export WINEPREFIX="$1"
    if [ "${2:-}" = win32 ]; then
        export WINEARCH=win32
        RV_WINE=$RV_WINE32
    else
        unset WINEARCH
        RV_WINE=/usr/lib/wine/wine64
    fi
    if [ -z "${RV_KEEP_DISPLAY:-}" ]; then
        local display=90
        while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
            display=$((display + 1))
        done
        Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        RV_XVFB_PID=$!
        export DISPLAY=":$display"
        # Until the server answers, not only until its socket exists: a
        # program started before then fails at once, and silently (WINEDEBUG).
        rv_within 30 xset -display ":$display" q ||
            echo "wine-env: the virtual display :$display did not answer in 30 s" >&2
    fi
    if [ ! -f "$WINEPREFIX/.rotaveil" ]; then
        mkdir -p "$WINEPREFIX"
        "$RV_WINE" wineboot -i >/dev/null 2>&1
        if [ -n "${RV_VIRTUAL_DESKTOP:-}" ]; then
            # One desktop window holds every window, as a real screen does.
            "$RV_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            "$RV_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
                /d "$RV_VIRTUAL_DESKTOP" /f >/dev/null 2>&1
        fi
        # A crashing program just ends: no debugger that waits for nobody.
        rv_wine_set_text 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' Debugger ""
        # The first 32-bit program in a new 64-bit prefix takes Wine many
        # seconds to start (seen: 15 s): paid here, once, and not by a test.
        if [ "${2:-}" != win32 ]; then
            "$RV_WINE" 'C:\windows\syswow64\cmd.exe' /c exit >/dev/null 2>&1 || true
        fi
        touch "$WINEPREFIX/.rotaveil"
    fi
    # A bare X server has no window manager: Wine must not wait for one to
    # confirm that a window was hidden (two seconds each time). Set on every
    # start, before any program runs: a prefix has been seen without it.
    rv_wine_set_text 'HKCU\Software\Wine\X11 Driver' Managed N
    # Keep one wineserver and one desktop for the whole run; starting them
    # for every program is slow.
    /usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
    "$RV_WINE" wineboot >/dev/null 2>&1 || true
    if [ -n "${RV_HOLD_DESKTOP:-}" ]; then
        "$RV_WINE" "$RV_HOLD_DESKTOP" >/dev/null 2>&1 &
        # The first test must not race the desktop's start.
        rv_within 30 pgrep -f "$(basename "$RV_HOLD_DESKTOP")" ||
            echo "wine-env: $(basename "$RV_HOLD_DESKTOP") did not start in 30 s" >&2
    fi
}

# Runs the command until it succeeds, at most the given seconds; quiet.
rv_within() {   # seconds, command...
    local tries=$(( $1 * 10 )); shift
    for _ in $(seq "$tries"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Sets a text value in the prefix's registry and reads it back; tries three
# times, then says so.
rv_wine_set_text() {   # key, name, text
    for _ in 1 2 3; do
        "$RV_WINE" reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1 || true
        if "$RV_WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
            grep -q "^ *$2 *REG_SZ *$3\$"; then
            return 0
        fi
        sleep 1
    done
    echo "wine-env: could not set $1 $2 in $WINEPREFIX" >&2
}

# For the screenshot scripts: the packages and the shipping build, a fresh
# prefix of their own (stopped on exit); sets windows (the prefix's Windows
# directory) and bin (the 64-bit programs).
rv_screenshot_start() {
    local root="$1" prefix="$1/build/wineprefix-screenshot"
    "$root/tools/setup.sh"
    ROTAVEIL_NO_TESTS=1 "$root/tools/build.sh"
    rv_wine_clean "$prefix"
    trap rv_wine_stop EXIT
    rv_wine_start "$prefix"
    windows="$WINEPREFIX/drive_c/windows"
    bin="$root/build/x86_64/bin"
}

# Prints the id of the first X window whose name matches the pattern, waiting
# up to 20 seconds for it; fails when none appears.
rv_find_window() {
    local window=""
    for _ in $(seq 100); do
        window=$(xdotool search --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.2
    done
    return 1
}

# Ends a wineserver left over from an earlier run on the same prefix path.
rv_wine_clean() {
    WINEPREFIX="$1" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    rm -rf "$1"
}

rv_wine_stop() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
    if [ -n "${RV_XVFB_PID:-}" ]; then
        kill "$RV_XVFB_PID" 2>/dev/null || true
        wait "$RV_XVFB_PID" 2>/dev/null || true
    fi
}

# Makes the 32-bit prefix and lists the tests of a 32-bit test program in
# it, looking for what it prints: Wine's exit code is 0 also when it could not
# start the program. Prints why not when it cannot. ROTAVEIL_NO_32_BIT=1
# makes a machine that can behave as one that cannot; RV_RUNS_32_BIT (yes, or
# no with RV_NO_32_BIT_WHY) is an answer found earlier in the same run.
rv_wine_runs_32_bit() {   # prefix, program
    local listing
    if [ -n "${ROTAVEIL_NO_32_BIT:-}" ] && [ "$ROTAVEIL_NO_32_BIT" != 0 ]; then
        echo "ROTAVEIL_NO_32_BIT is set: this run takes the machine for one that cannot"
        return 1
    fi
    case "${RV_RUNS_32_BIT:-}" in
        yes) return 0 ;;
        no) echo "${RV_NO_32_BIT_WHY:-}"; return 1 ;;
    esac
    if [ ! -x "$RV_WINE32" ]; then
        echo "Wine for 32-bit programs ($RV_WINE32, package wine32:i386) is not installed"
        return 1
    fi
    mkdir -p "$1"
    # Into a file, not a pipe: Wine's server, started here, would hold a pipe open.
    WINEPREFIX="$1" WINEARCH=win32 DISPLAY= timeout 180 "$RV_WINE32" "$2" --gtest_list_tests \
        >"$1/listing.txt" 2>/dev/null </dev/null || true
    listing=$(tr -d '\r' <"$1/listing.txt")
    WINEPREFIX="$1" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    if ! grep -q '^[A-Za-z]' <<<"$listing"; then
        echo "a 32-bit program did not run under $RV_WINE32 (does this kernel run 32-bit programs?)"
        return 1
    fi
}
