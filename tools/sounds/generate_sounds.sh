#!/bin/bash
# Generates the sound set from the table: every line of sound_set.tsv becomes
# <out>/kT93_<name>.wav, exactly as long as the sound's slot in the sound bank
# (taken from sound_list.h), mono PCM.
#   generate_sounds.sh <sound_set.tsv> <sound_list.h> <out folder> [jobs]
# Voices are spoken by espeak-ng and fitted into their slot (spoken faster
# when needed, then padded with silence); everything else is made by sox.
# Loops are cross-faded end into start so that they repeat without a click.
set -euo pipefail
export SOX_OPTS="-V1"   # errors only: a pad cut off by the final trim is expected

table=$1
list=$2
out=$3
jobs=${4:-2}
work=$(mktemp -d /tmp/quillmar-sounds-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
for tool in espeak-ng sox soxi; do
    command -v "$tool" >/dev/null || { echo "generate_sounds: $tool is missing" >&2; exit 1; }
done

# Slot lengths in tenths of a second, by sound name.
declare -A tenths
while read -r name n; do
    tenths[$name]=$n
done < <(sed -n 's/.*X(SOUND_[A-Z0-9_]*, "\([A-Za-z0-9_]*\)", \([0-9]*\)).*/\1 \2/p' "$list")

calc() { awk "BEGIN { printf \"%s\", $1 }"; }

voice_options() {
    case $1 in
        voice-crew)   echo "-v en-us+m3 -p 42" ;;
        voice-ground) echo "-v en-gb+m1 -p 55" ;;
        voice-gpws)   echo "-v en-us+m7 -p 28 -g 2" ;;
    esac
}

# Effects after the voice: the ground crew speaks over the interphone.
voice_effects() {
    case $1 in
        voice-ground) echo "overdrive 6 highpass 350 lowpass 3000 gain -3" ;;
        voice-gpws)   echo "highpass 200 lowpass 5000" ;;
        *)            echo "" ;;
    esac
}

# speak <kind> <rate> <words> <file>: spoken words without leading or trailing silence.
speak() {
    local raw=$4.raw.wav
    # shellcheck disable=SC2046
    espeak-ng $(voice_options "$1") -s "$2" -w "$raw" "$3"
    sox -R "$raw" "$4" silence 1 0.01 0.3% reverse silence 1 0.01 0.3% reverse
}

make_voice() {
    local name=$1 kind=$2 words=$3 rate=$4 bits=$5 seconds=$6 samples=$7
    local w=$work/$name
    local text=${words// ... /, }
    local avail speed duration
    avail=$(calc "($seconds - 0.08 < 0.25) ? 0.25 : $seconds - 0.08")
    speed=170
    speak "$kind" "$speed" "$text" "$w.voice.wav"
    duration=$(soxi -D "$w.voice.wav")
    if [ "$(calc "$duration > $avail")" = 1 ] && [ "$text" != "${words// ... / }" ]; then
        # No pause between item and setting when time is short.
        text=${words// ... / }
        speak "$kind" "$speed" "$text" "$w.voice.wav"
        duration=$(soxi -D "$w.voice.wav")
    fi
    if [ "$(calc "$duration > $avail")" = 1 ]; then
        speed=$(calc "int($speed * $duration / $avail * 1.04) + 1")
        [ "$speed" -gt 450 ] && speed=450
        speak "$kind" "$speed" "$text" "$w.voice.wav"
        duration=$(soxi -D "$w.voice.wav")
    fi
    local tempo=""
    if [ "$(calc "$duration > $avail")" = 1 ]; then
        tempo="tempo -s $(calc "$duration / $avail")"
    fi
    # shellcheck disable=SC2046
    sox -R "$w.voice.wav" -r "$rate" -b "$bits" -c 1 "$w.wav" $tempo $(voice_effects "$kind") \
        norm -3 pad 0.03 "$seconds" trim 0 "${samples}s"
}

# synthesize <recipe> <seconds> <rate> <file>: the recipe's pieces, one after the other.
synthesize() {
    local recipe=${1//\{D\}/$2} rate=$3 file=$4
    local pieces=() i=0 piece
    while [ -n "$recipe" ]; do
        piece=${recipe%% ; *}
        if [ "$piece" = "$recipe" ]; then recipe=""; else recipe=${recipe#* ; }; fi
        # shellcheck disable=SC2086
        sox -R -n -r "$rate" -b 16 -c 1 "$file.$i.wav" $piece
        pieces+=("$file.$i.wav")
        i=$((i + 1))
    done
    if [ ${#pieces[@]} = 1 ]; then mv "${pieces[0]}" "$file"; else sox -R "${pieces[@]}" "$file"; fi
}

make_tone() {
    local name=$1 recipe=$2 rate=$3 bits=$4 seconds=$5 samples=$6
    local w=$work/$name
    synthesize "$recipe" "$seconds" "$rate" "$w.tone.wav"
    sox -R "$w.tone.wav" -r "$rate" -b "$bits" -c 1 "$w.wav" pad 0 "$seconds" trim 0 "${samples}s"
}

# A loop of exactly `samples` samples: the sound runs on past the end for
# the cross-fade, and that overrun is faded into the start, so the last
# sample leads into the first as smoothly as any two neighbours.
make_loop() {
    local name=$1 recipe=$2 rate=$3 bits=$4 seconds=$5 samples=$6
    local w=$work/$name
    local fade=$((rate * 4 / 10))
    [ $fade -gt $((samples / 4)) ] && fade=$((samples / 4))
    synthesize "$recipe" "$(calc "($samples + $fade) / $rate + 0.05")" "$rate" "$w.long.wav"
    sox -R "$w.long.wav" "$w.head.wav" trim 0 "${fade}s" fade q "${fade}s"
    sox -R "$w.long.wav" "$w.tail.wav" trim "${samples}s" "${fade}s" fade q 0 "${fade}s" "${fade}s"
    sox -R -m -v 1 "$w.head.wav" -v 1 "$w.tail.wav" "$w.joint.wav"
    sox -R "$w.long.wav" "$w.body.wav" trim "${fade}s" "$((samples - fade))s"
    sox -R -D "$w.joint.wav" "$w.body.wav" -r "$rate" -b "$bits" -c 1 "$w.wav"
}

make_sound() {
    local name=$1 kind=$2 words=$3 format=$4
    local n=${tenths[$name]:-}
    if [ -z "$n" ]; then
        echo "generate_sounds: $name is not a sound of the sound bank" >&2
        return 1
    fi
    local rate=${format%/*} bits=${format#*/}
    local seconds samples
    seconds=$(calc "$n / 10")
    samples=$((rate * n / 10))
    case $kind in
        voice-*) make_voice "$name" "$kind" "$words" "$rate" "$bits" "$seconds" "$samples" ;;
        tone)    make_tone "$name" "$words" "$rate" "$bits" "$seconds" "$samples" ;;
        loop)    make_loop "$name" "$words" "$rate" "$bits" "$seconds" "$samples" ;;
        *) echo "generate_sounds: $name has unknown kind $kind" >&2; return 1 ;;
    esac
    local got
    got=$(soxi -s "$work/$name.wav")
    if [ "$got" != "$samples" ]; then
        echo "generate_sounds: $name has $got samples, not $samples" >&2
        return 1
    fi
    mv "$work/$name.wav" "$out/kT93_$name.wav"
    rm -f "$work/$name".*
}

count=0
failed=0
while IFS=$'\t' read -r name kind words format || [ -n "$name" ]; do
    case $name in ''|'#'*) continue ;; esac
    [ -n "${format:-}" ] || format=22050/16
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || failed=1; done
    make_sound "$name" "$kind" "$words" "$format" &
    count=$((count + 1))
done < "$table"
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || failed=1; done
wait || failed=1
if [ $failed != 0 ]; then
    echo "generate_sounds: some sounds failed" >&2
    exit 1
fi
echo "generate_sounds: $count sounds in $out"
