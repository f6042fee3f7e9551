#!/usr/bin/env bash
# Fuzzes what the cockpit reads from outside, under AddressSanitizer and
# UndefinedBehaviorSanitizer (libFuzzer, clang):
#   wave          the Linux wave reader (sound files)
#   profile       the Linux settings file reader and writer (the panel state file)
#   panel_config  the host's panel.cfg parser
#   scenario      the host's scenario script parser
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]      (default: all, 30 seconds each)
#   scripts/fuzz.sh TARGET --runs N              (a long run of N executions)
#
# Builds the fuzz preset (build/fuzz), then runs each target from its seed
# corpus (tests/fuzz/corpus/TARGET and the project's own files of that kind)
# in a scratch folder (QUILLMAR_FUZZ_DIR, else a new temporary one): inputs
# the fuzzer finds stay there, never in the source tree. Every seed is run
# first, so the regression seeds of faults found earlier are checked each
# time. Exits non-zero when a target finds a crash, a leak, a read outside a
# buffer, undefined behaviour or a broken invariant.
set -euo pipefail
shopt -s nullglob
root=$(cd "$(dirname "$0")/.." && pwd)
targets=${1:-all}
limit=(-max_total_time="${2:-30}")
if [ "${2:-}" = --runs ]; then limit=(-runs="${3:?--runs needs a count}"); fi
[ "$targets" = all ] && targets="wave profile panel_config scenario"
work=${QUILLMAR_FUZZ_DIR:-$(mktemp -d /tmp/quillmar-fuzz-XXXXXX)}

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 >/dev/null || cmake --build --preset fuzz -j2

# The seeds of a target: its own corpus folder and the project's files of
# that kind (named by their folder too, so that none hides another).
seeds() {
    local dir=$1/corpus files f
    mkdir -p "$dir"
    case $2 in
        wave) files=(tests/data/wave/corpus/*.wav) ;;
        profile) files=(tests/scenarios/data/*.ini tests/scenarios/*.ini tests/host/data/*.ini) ;;
        panel_config) files=(host/panel.cfg) ;;
        scenario) files=(tests/scenarios/*.flight host/demo.flight) ;;
    esac
    files+=(tests/fuzz/corpus/"$2"/*)
    for f in "${files[@]}"; do cp "$f" "$dir/$(basename "$(dirname "$f")")_$(basename "$f")"; done
}

for target in $targets; do
    program=$root/build/fuzz/bin/fuzz_$target
    [ -x "$program" ] || { echo "fuzz: no target '$target'" >&2; exit 2; }
    dir=$work/$target
    mkdir -p "$dir"
    seeds "$dir" "$target"
    # Wave files need room for a data chunk; a kilobyte of a script or panel
    # text holds every form of line many times over, and parses fast.
    case $target in
        wave) max_len=70000 ;;
        profile) max_len=4096 ;;
        *) max_len=1024 ;;
    esac
    options=(-timeout=10 -rss_limit_mb=2048 -max_len=$max_len -print_final_stats=1 -artifact_prefix="$dir/")
    [ -f "tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
    echo "fuzz: $target (${limit[*]}) in $dir"
    (cd "$dir" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$program" "${limit[@]}" "${options[@]}" "$dir/corpus" 2>&1 | tee fuzz.log |
        grep -E '^(stat::|==[0-9]+==|SUMMARY|artifact_prefix|Test unit written|INFO: Seed|Done )' || true)
    if grep -qE 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error|deadly signal' "$dir/fuzz.log"; then
        echo "fuzz: $target FOUND A FAULT (see $dir/fuzz.log and the crash-* file there)" >&2
        exit 1
    fi
done
