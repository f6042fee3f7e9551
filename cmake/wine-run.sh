#!/bin/sh
# Runs a 32-bit Windows program under Wine, headless and in a private prefix
# kept under the build folder, so tests never touch a user's Wine set-up.
set -e
: "${WINEPREFIX:=${QUILLMAR_WINEPREFIX:-$(pwd)/wineprefix}}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win32
if ! command -v wine >/dev/null 2>&1; then
    echo "wine-run: wine is not installed" >&2
    exit 127
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || { echo "wine-run: cannot create the Wine prefix $WINEPREFIX" >&2; exit 127; }
    wineserver -w
fi
exec wine "$@"
