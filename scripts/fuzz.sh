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
root=$(cd "$(dirname "$0")/.." && pwd)
targets=${1:-all}
limit=(-max_total_time="${2:-30}")
if [ "${2:-}" = --runs ]; then limit=(-runs="${3:?--runs needs a count}"); fi
[ "$targets" = all ] && targets="wave profile panel_config scenario"
work=${QUILLMAR_FUZZ_DIR:-$(mktemp -d /tmp/quillmar-fuzz-XXXXXX)}

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 >/dev/null || cmake --build --preset fuzz -j2

# The seeds of a target: its own corpus folder and files of that kind.
seeds() {
    local dir=$1/corpus
    mkdir -p "$dir"
    [ -d "tests/fuzz/corpus/$2" ] && cp tests/fuzz/corpus/"$2"/* "$dir"/
    case $2 in
        wave) cp tests/data/wave/corpus/*.wav "$dir"/ ;;
        profile) cp tests/scenarios/data/*.ini tests/scenarios/*.ini tests/host/data/*.ini "$dir"/ ;;
        panel_config) cp host/panel.cfg "$dir"/ ;;
        scenario) cp tests/scenarios/*.flight host/demo.flight "$dir"/ ;;
    esac
}

for target in $targets; do
    program=$root/build/fuzz/bin/fuzz_$target
    [ -x "$program" ] || { echo "fuzz: no target '$target'" >&2; exit 2; }
    dir=$work/$target
    mkdir -p "$dir"
    seeds "$dir" "$target"
    options=(-timeout=10 -rss_limit_mb=2048 -max_len=70000 -print_final_stats=1)
    [ -f "tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
    echo "fuzz: $target (${limit[*]}) in $dir"
    (cd "$dir" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$program" "${limit[@]}" "${options[@]}" corpus 2>&1 | tee fuzz.log |
        grep -E '^(stat::|==[0-9]+==|SUMMARY|artifact_prefix|Test unit written|INFO: Seed|Done )' || true)
    if grep -qE 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error|deadly signal' "$dir/fuzz.log"; then
        echo "fuzz: $target FOUND A FAULT (see $dir/fuzz.log and the crash-* file there)" >&2
        exit 1
    fi
done
