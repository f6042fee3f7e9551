#!/bin/sh
# Runs a Windows program of a build folder under Wine:
#   wine-run.sh PROGRAM.exe [ARGUMENTS...]
# A 64-bit program runs under 64-bit Wine (wine64 on PATH, else
# /usr/lib/wine/wine64), a 32-bit one under 32-bit Wine (wine on PATH, else
# /usr/lib/wine/wine), told apart by the program's own header.
# Headless (Wine's null display driver, no menu entries, no debug output)
# and in a private prefix under the build folder that holds the program
# (found by its CMakeCache.txt), created on first use and reused after that.
# Wine gets its own HOME there too, whose .asoundrc makes ALSA's default
# device the null device, so DirectSound starts on a machine without a sound
# card.
# QUILLMAR_WINE_DIR names another folder for the prefix and HOME.
# Exit code 125 when Wine cannot be found or cannot start.
set -eu
program=${1:?usage: wine-run.sh PROGRAM [ARGUMENTS...]}
shift

# The machine the program is built for: the first field of its PE header,
# whose place the word at offset 60 gives.
word_at() { od -An -tu4 -j "$1" -N 4 "$program" 2>/dev/null | tr -d ' '; }
header=$(word_at 60)
machine=0
if [ -n "$header" ]; then
    field=$(word_at $((header + 4)))
    machine=$(( ${field:-0} & 65535 ))
fi
case $machine in
    34404) bits=64; names="wine64 /usr/lib/wine/wine64"; WINEARCH=win64 ;;
    332) bits=32; names="wine /usr/lib/wine/wine"; WINEARCH=win32 ;;
    *) echo "wine-run: $program is not a Windows program" >&2; exit 125 ;;
esac
export WINEARCH
wine=
for name in $names; do
    if command -v "$name" >/dev/null 2>&1; then wine=$(command -v "$name"); break; fi
done
if [ -z "$wine" ]; then
    echo "wine-run: $bits-bit Wine is not installed (none of: $names)" >&2
    exit 125
fi

if [ -z "${QUILLMAR_WINE_DIR:-}" ]; then
    dir=$(cd "$(dirname "$program")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    if [ "$dir" = / ]; then
        echo "wine-run: $program is not inside a build folder; set QUILLMAR_WINE_DIR" >&2
        exit 125
    fi
    QUILLMAR_WINE_DIR=$dir/wine
fi
mkdir -p "$QUILLMAR_WINE_DIR/home"
for server in "$(dirname "$wine")/wineserver64" "$(dirname "$wine")/wineserver" "$(command -v wineserver || true)"; do
    if [ -x "$server" ]; then WINESERVER=$server; break; fi
done
if [ -z "${WINESERVER:-}" ]; then
    echo "wine-run: no wineserver beside $wine" >&2
    exit 125
fi
export WINESERVER

export WINEPREFIX="$QUILLMAR_WINE_DIR/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export HOME="$QUILLMAR_WINE_DIR/home"
unset DISPLAY WAYLAND_DISPLAY
[ -f "$HOME/.asoundrc" ] || echo 'pcm.!default { type null }' >"$HOME/.asoundrc"

# The first program to get here creates the prefix; programs started beside
# it wait for it under the lock. One server serves every program of a test
# run: it stays 30 seconds after its last program, so a run starts it (and
# Wine's background processes) only once.
exec 9>"$QUILLMAR_WINE_DIR/.lock"
flock 9
if [ ! -f "$WINEPREFIX/.quillmar-ready" ]; then
    rm -rf "$WINEPREFIX"
    if ! "$wine" wineboot --init </dev/null >"$QUILLMAR_WINE_DIR/wineboot.log" 2>&1; then
        echo "wine-run: cannot create the Wine prefix $WINEPREFIX (see $QUILLMAR_WINE_DIR/wineboot.log)" >&2
        exit 125
    fi
    # Wine's null display driver: windows (the simulator's main window, which
    # DirectSound is bound to) exist without any display.
    if ! "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
            </dev/null >>"$QUILLMAR_WINE_DIR/wineboot.log" 2>&1; then
        echo "wine-run: cannot set up the Wine prefix $WINEPREFIX (see $QUILLMAR_WINE_DIR/wineboot.log)" >&2
        exit 125
    fi
    "$WINESERVER" -w
    touch "$WINEPREFIX/.quillmar-ready"
fi
"$WINESERVER" -p30 </dev/null >/dev/null 2>&1 || true
flock -u 9
exec 9>&-

# Wine's background processes (the desktop, the services) outlive the
# program and inherit its output; were that ctest's pipe, ctest would wait
# for them. So the program writes into files, passed on when it ends.
out=$(mktemp "$QUILLMAR_WINE_DIR/out.XXXXXX")
err=$(mktemp "$QUILLMAR_WINE_DIR/err.XXXXXX")
trap 'rm -f "$out" "$err"' EXIT
status=0
"$wine" "$program" "$@" >"$out" 2>"$err" || status=$?
cat "$out"
cat "$err" >&2
exit $status
