#!/bin/sh
# Runs every scenario with the Linux host and with the Windows host and its
# DLLs under Wine, and compares the traces without their sound lines (the
# Windows host plays sounds through DirectSound, whose timing is not the
# simulated device's). Exit 77 when the Windows build or Wine is missing.
#   compare_windows_traces.sh LINUX_HOST WIN32_BUILD_DIR SCENARIO_DIR
set -u
linux_host=$1
win_build=$2
scenarios=$3
win_host="$win_build/bin/quillmar-host.exe"
win_gauges="$win_build/sim/Gauges"
if [ ! -f "$win_host" ] || [ ! -d "$win_gauges" ]; then
    echo "no Windows build at $win_build: skipped"
    exit 77
fi
if ! command -v wine >/dev/null 2>&1 || ! wine --version >/dev/null 2>&1; then
    echo "Wine cannot run here: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for script in "$scenarios"/*.flight; do
    name=$(basename "$script" .flight)
    "$linux_host" run "$script" --quiet --trace "$work/$name.linux" --out "$work/out" >/dev/null 2>&1
    "$(dirname "$0")/../../cmake/wine-run.sh" "$win_host" run "$script" --quiet --trace "$work/$name.windows" \
        --gauges "$win_gauges" --out "$work/out" >/dev/null 2>&1
    grep -v ' sound ' "$work/$name.linux" >"$work/$name.l"
    tr -d '\r' <"$work/$name.windows" | grep -v ' sound ' >"$work/$name.w"
    if ! diff -u "$work/$name.l" "$work/$name.w" >"$work/$name.diff"; then
        echo "$name: the Windows trace differs"
        head -40 "$work/$name.diff"
        status=1
    else
        echo "$name: same trace"
    fi
done
exit $status
