#!/usr/bin/env bash
# Runs every test: installs what is needed, builds the Linux, sanitizer,
# 32-bit Windows and 64-bit Windows builds, then runs the Linux tests (with
# the comparison of the Linux and Windows hosts' traces), the sanitizer
# tests, the bounded fuzz runs, the checks of the 32-bit Windows modules, and
# the 64-bit Windows tests under Wine. Where this machine runs 32-bit
# programs, the 32-bit Windows tests run under Wine as well.
# Ends with the line "N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh || exit 1

passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Counts the results of one ctest run from its closing lines.
count_ctest() {
    local line total fails
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        failed=$((failed + 1))
        return
    fi
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
}

# One step that is not a ctest run: counts as one test.
step() {
    local name=$1
    shift
    echo "== $name"
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $name"
        failed=$((failed + 1))
    fi
}

declare -A built
build() {
    echo "== $1 build"
    if cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j2; then
        built[$1]=1
    else
        echo "FAILED: $1 build"
        failed=$((failed + 1))
    fi
}

# Every build first: the Linux tests compare traces with the win64 build.
build linux
build sanitize
build win32
build win64

if [ -n "${built[linux]:-}" ]; then
    echo "== Linux tests"
    ctest --preset linux -j2 2>&1 | tee "$log"
    count_ctest
fi

if [ -n "${built[sanitize]:-}" ]; then
    echo "== Sanitizer tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
    # fontconfig keeps its caches until exit; they are not leaks of ours.
    LSAN_OPTIONS=suppressions=$root/tests/displays/fontconfig.supp ASAN_OPTIONS=detect_leaks=1 \
        ctest --preset sanitize -j2 2>&1 | tee "$log"
    count_ctest
fi

# Five seconds each for the wave reader, the settings file reader and
# writer, and the panel.cfg and scenario parsers, after every seed.
step "fuzzing what the cockpit reads from outside (bounded)" scripts/fuzz.sh all 5

if [ -n "${built[win32]:-}" ]; then
    step "32-bit Windows modules: PE32 DLLs, exports, imports, no TLS callbacks, display bitmaps" \
        tests/check_windows_modules.sh build/win32/sim/Gauges
fi

# The pixel-difference figures the display tests print: Windows (GDI under
# Wine) against the Linux reference pictures.
picture_figures() {
    grep -h "pixels differ from the reference picture" "$1/Testing/Temporary/LastTest.log" 2>/dev/null |
        sed 's/^/   /'
}

if [ -n "${built[win64]:-}" ]; then
    echo "== 64-bit Windows tests under Wine"
    wine_start=$SECONDS
    if ! wine_said=$(cmake/wine-run.sh build/win64/bin/quillmar_unit_tests.exe --gtest_list_tests 2>&1 >/dev/null); then
        echo "FAILED: 64-bit Wine cannot start: $wine_said"
        failed=$((failed + 1))
    else
        ctest --preset win64 -j2 2>&1 | tee "$log"
        count_ctest
        echo "   display pictures, Windows against Linux:"
        picture_figures build/win64
    fi
    echo "   the 64-bit Wine part took $((SECONDS - wine_start)) s"
fi

if [ -n "${built[win32]:-}" ]; then
    if scripts/can-run-32-bit.sh && { command -v wine >/dev/null || [ -x /usr/lib/wine/wine ]; }; then
        echo "== 32-bit Windows tests under Wine (this machine runs 32-bit programs)"
        wine_start=$SECONDS
        ctest --preset win32 -j2 2>&1 | tee "$log"
        count_ctest
        echo "   the 32-bit Wine part took $((SECONDS - wine_start)) s"
    else
        echo "== 32-bit Windows tests NOT RUN: this machine cannot run 32-bit programs;"
        echo "   the 32-bit modules were checked without running them, and the Windows"
        echo "   code ran in the 64-bit Windows tests above."
    fi
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
