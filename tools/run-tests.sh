#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (only what is missing), builds both
# architectures and runs the whole test suite under Wine on a virtual display,
# once against each package: the 64-bit programs in a 64-bit prefix, then the
# 32-bit programs in a 32-bit prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"

. "$root/tools/wine-env.sh"
trap rv_wine_stop EXIT

# One at a time: the tests share the prefix's registry and the desktop. A
# test that fails runs once more: Wine on a bare X server now and then loses
# a window (the process that meets the X error ends), which is no fault of
# the programs; a real fault fails both times.
run_suite() {   # package, test build, prefix kind
    local package="$1" build="$root/build/$2" prefix="$root/build/wineprefix-$2" status=0 why
    rv_wine_clean "$prefix"
    RV_HOLD_DESKTOP="$build/bin/rvholddesktop.exe"
    if [ "$3" = win32 ] && ! why=$(rv_wine_runs_32_bit "$prefix" "$build/bin/pure_tests.exe"); then
        echo "=== Package $package: skipped, this machine cannot run 32-bit programs: $why"
        return 0
    fi
    rv_wine_start "$prefix" "$3"
    echo "=== Package $package: the programs of $(sed -n 's/^ROTAVEIL_SHIPPED_DIR:PATH=//p' \
        "$build/CMakeCache.txt"), in a $([ "$3" = win32 ] && echo 32 || echo 64)-bit Wine prefix"
    (cd "$build" && ctest --output-on-failure --repeat until-pass:2 ${CTEST_ARGS:-}) |
        tee "$build/ctest-output.txt" || status=$?
    local again
    again=$(passed_on_retry "$build/ctest-output.txt" "$package")
    [ -z "$again" ] || retried+="$again"$'\n'
    rv_wine_stop
    return $status
}

# The tests of a ctest output that failed once and then passed, one line each.
passed_on_retry() {   # output file, package
    local failed passed
    failed=$(sed -nE 's/.*Test +#[0-9]+: ([^ ]+) .*\*\*\*.*/\1/p' "$1" | sort -u)
    passed=$(sed -nE 's/.*Test +#[0-9]+: ([^ ]+) .* Passed .*/\1/p' "$1" | sort -u)
    comm -12 <(printf '%s\n' "$failed") <(printf '%s\n' "$passed") | sed "/^\$/d; s/^/  $2: /"
}

# Once for the whole run, in a prefix of its own: the 64-bit run's tests
# that need a 32-bit program (the setup, the other system folder) ask too.
probe="$root/build/wineprefix-probe32"
rv_wine_clean "$probe"
if RV_NO_32_BIT_WHY=$(rv_wine_runs_32_bit "$probe" "$root/build/tests32/bin/pure_tests.exe"); then
    export RV_RUNS_32_BIT=yes
else
    export RV_RUNS_32_BIT=no RV_NO_32_BIT_WHY
    echo "=== This machine runs no 32-bit programs ($RV_NO_32_BIT_WHY): their tests are skipped"
fi
rv_wine_clean "$probe"

failed=0
retried=""
run_suite win64 tests win64 || failed=1
run_suite win32 tests32 win32 || failed=1
# A test that needed its second run passed, but is named: a flaky test is a
# fault to mend, not to hide.
if [ -n "$retried" ]; then
    printf '=== Passed on retry (each failed once first):\n%s' "$retried"
else
    echo "=== Passed on retry: none"
fi
# The hand-over's speed is seen on every run, never checked: the machines are
# noisy (docs/benchmarks.md has the whole set).
echo "=== Figures of the 64-bit package (seen, not checked; tools/benchmarks.sh headline)"
"$root/tools/benchmarks.sh" headline || echo "(the benchmarks could not run)"
exit $failed
