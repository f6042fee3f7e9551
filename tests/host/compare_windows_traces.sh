#!/bin/sh
# Runs scenario scripts with the Linux host and its modules, and with the
# 64-bit Windows host and its DLLs under Wine, and compares the two traces:
# events, channel writes, sounds and panel state writes must be the same,
# line for line. Lines that are platform-specific by nature are left out of
# the comparison and named here (PLATFORM_LINES); the script prints how many
# it left out.
#   compare_windows_traces.sh LINUX_HOST WIN64_BUILD_DIR SCRIPT_OR_FOLDER...
# (a folder stands for every .flight script in it)
# Exit 77 (skipped) when there is no Windows build; a Wine that cannot run
# the Windows host is a failure.
#
# Both hosts run without drawing the flight displays every frame
# (--no-display-draws): the drawing never reaches a trace, and GDI under
# Wine makes it many times slower. The Windows scenario runs of the win64
# tests draw them.
set -u
linux_host=$1
win_build=$2
shift 2
win_host="$win_build/bin/quillmar-host.exe"
win_gauges="$win_build/sim/Gauges"
runner="$(cd "$(dirname "$0")/../.." && pwd)/cmake/wine-run.sh"
if [ ! -f "$win_host" ] || [ ! -d "$win_gauges" ]; then
    echo "no 64-bit Windows build at $win_build: skipped"
    exit 77
fi

# Platform-specific by nature: none of the trace's kinds of line so far.
# (An extended regular expression; lines matching it are left out.)
PLATFORM_LINES='^$'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
compared=0
scripts=
for given in "$@"; do
    if [ -d "$given" ]; then scripts="$scripts $(ls "$given"/*.flight)"; else scripts="$scripts $given"; fi
done
for script in $scripts; do
    name=$(basename "$script" .flight)
    "$linux_host" run "$script" --quiet --no-display-draws --trace "$work/$name.linux" --out "$work/out.linux" >"$work/$name.linux.log" 2>&1
    linux_exit=$?
    "$runner" "$win_host" run "$script" --quiet --no-display-draws --trace "$work/$name.windows" \
        --gauges "$win_gauges" --out "$work/out.windows" >"$work/$name.windows.log" 2>&1
    windows_exit=$?
    if [ ! -f "$work/$name.windows" ]; then
        echo "$name: the Windows host wrote no trace (exit $windows_exit)"
        head -20 "$work/$name.windows.log"
        status=1
        continue
    fi
    if [ "$linux_exit" != "$windows_exit" ]; then
        echo "$name: the Linux host ended with $linux_exit, the Windows host with $windows_exit"
        head -20 "$work/$name.windows.log"
        status=1
    fi
    grep -Ev "$PLATFORM_LINES" "$work/$name.linux" >"$work/$name.l"
    tr -d '\r' <"$work/$name.windows" | grep -Ev "$PLATFORM_LINES" >"$work/$name.w"
    left_out=$(( $(wc -l <"$work/$name.linux") - $(wc -l <"$work/$name.l") ))
    if ! diff -u "$work/$name.l" "$work/$name.w" >"$work/$name.diff"; then
        echo "$name: the Windows trace differs"
        head -40 "$work/$name.diff"
        status=1
    else
        echo "$name: same trace ($(wc -l <"$work/$name.l") lines, $left_out platform-specific left out)"
    fi
    compared=$((compared + 1))
done
echo "$compared scripts compared"
exit $status
