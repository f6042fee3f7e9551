#!/usr/bin/env bash
# Runs every test: installs what is needed, builds the Linux, sanitizer and
# 32-bit Windows builds, runs the Linux tests, the sanitizer tests, the
# bounded fuzz run, the checks of the Windows modules, and the Windows tests
# under Wine.
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

build() {
    cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j2
}

echo "== Linux build"
if build linux; then
    ctest --preset linux -j2 2>&1 | tee "$log"
    count_ctest
else
    echo "FAILED: Linux build"; failed=$((failed + 1))
fi

echo "== Sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
if build sanitize; then
    # fontconfig keeps its caches until exit; they are not leaks of ours.
    LSAN_OPTIONS=suppressions=$root/tests/displays/fontconfig.supp ASAN_OPTIONS=detect_leaks=1 \
        ctest --preset sanitize -j2 2>&1 | tee "$log"
    count_ctest
else
    echo "FAILED: sanitizer build"; failed=$((failed + 1))
fi

if [ -x scripts/fuzz-wave.sh ]; then
    step "fuzzing the wave reader (bounded)" scripts/fuzz-wave.sh
fi

echo "== 32-bit Windows build"
if build win32; then
    step "Windows modules export ImportTable and Linkage and import only system DLLs" \
        tests/check_windows_modules.sh build/win32/sim/Gauges
    # The Windows tests need Wine able to run 32-bit programs.
    if cmake/wine-run.sh build/win32/bin/quillmar_unit_tests.exe --gtest_list_tests >/dev/null 2>&1; then
        ctest --preset win32 2>&1 | tee "$log"
        count_ctest
    else
        echo "!!"
        echo "!! WINDOWS TESTS NOT RUN: Wine cannot run 32-bit programs on this machine."
        echo "!! (Run with QUILLMAR_REQUIRE_WINE=1 to make this a failure.)"
        echo "!!"
        if [ "${QUILLMAR_REQUIRE_WINE:-0}" = 1 ]; then failed=$((failed + 1)); fi
    fi
else
    echo "FAILED: Windows build"; failed=$((failed + 1))
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
