#!/bin/sh
# The live viewer in a virtual X server with SDL's silent audio driver: it
# shows the panel for a bounded number of frames, saves the window's contents
# (which must be a picture, not one flat colour), kills the panel on the way
# out (the panel state file appears) and hands over after a script. Exit 77
# when there is no xvfb-run.
#   viewer_run.sh HOST GAUGES_DIR
set -u
host=$1
gauges=$2
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "no xvfb-run: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "FAILED: $*"
    status=1
}
# In a sanitizer build the process's leak check at exit would report the
# system libraries SDL's X11 video loads and unloads (D-Bus, the GL driver),
# which keep allocations for the life of the process; the viewer's own event
# handling is leak-checked in the host tests.
view() {
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" SDL_AUDIODRIVER=dummy \
        xvfb-run -a "$host" view --gauges "$gauges" "$@"
}

# A picture: more than a few colours, none covering nearly all of it.
check_picture() {
    python3 - "$1" <<'EOF'
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
if data[:8] != b'\x89PNG\r\n\x1a\n':
    sys.exit('not a PNG file')
pos, idat, width, height = 8, b'', 0, 0
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b'IHDR':
        width, height, depth, colour = struct.unpack('>IIBB', body[:10])
        if depth != 8 or colour != 2:
            sys.exit('not 8-bit RGB')
    elif kind == b'IDAT':
        idat += body
    pos += 12 + length
raw = zlib.decompress(idat)
row = 1 + width * 3
counts = {}
for y in range(height):
    line = raw[y * row:(y + 1) * row]
    if line[0] != 0:
        sys.exit('unexpected row filter')
    for x in range(1, row, 3):
        pixel = line[x:x + 3]
        counts[pixel] = counts.get(pixel, 0) + 1
most = max(counts.values())
print(f'{width}x{height}, {len(counts)} colours, the commonest on {100 * most // (width * height)}%')
if width < 100 or height < 100 or len(counts) < 4 or most > 0.97 * width * height:
    sys.exit('the picture is blank')
EOF
}

# The main panel for 30 frames in a fresh simulator folder.
view --sim-dir "$work/sim" --frames 30 --screenshot "$work/main.png" >"$work/out1" 2>&1 || fail "view exited with $?"
cat "$work/out1"
if [ -f "$work/main.png" ]; then
    check_picture "$work/main.png" || fail "the screenshot is blank"
else
    fail "no screenshot"
fi
grep -q temperature_cabin "$work/sim/Gauges/Quillmar.ini" 2>/dev/null || fail "the panel was not killed (no panel state file)"

# A script first: its notes and failed expectations are shown, then the user
# takes over the panel in the state it left.
cat >"$work/battery.flight" <<'EOF'
click Electric 80 150
expect channel kt93_ElPwrAvail "1"
note "battery on"
expect channel kt93_ElPwrAvail "7"
EOF
view --script "$work/battery.flight" --frames 3 >"$work/out2" 2>&1 || fail "view with a script exited with $?"
grep -q "battery on" "$work/out2" || fail "the script's note is missing"
grep -q 'kt93_ElPwrAvail "7": saw "1"' "$work/out2" || fail "the failed expectation is not reported"

# A script that leaves nothing to show, and one that does not parse: exit 2.
printf 'kill\n' >"$work/kill.flight"
view --script "$work/kill.flight" --frames 3 >"$work/out3" 2>&1
[ $? -eq 2 ] || fail "a killed panel should end the viewer with 2"
grep -q "nothing to show" "$work/out3" || fail "no message for the killed panel"
printf 'click Electric\n' >"$work/bad.flight"
view --script "$work/bad.flight" --frames 3 >"$work/out4" 2>&1
[ $? -eq 2 ] || fail "a broken script should end the viewer with 2"
grep -q "bad.flight:1:" "$work/out4" || fail "no line number for the broken script"
exit $status
