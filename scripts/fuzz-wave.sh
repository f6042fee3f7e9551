#!/bin/sh
# Fuzzes the Linux wave reader for a bounded time under AddressSanitizer and
# UndefinedBehaviorSanitizer, starting from the wave reader corpus.
#   scripts/fuzz-wave.sh [seconds]        (default 30)
# Builds with clang++ into a scratch folder (QUILLMAR_FUZZ_DIR, else a new
# temporary one); exits non-zero when the fuzzer finds a crash, a leak, a
# read outside a buffer or undefined behaviour. Inputs it finds are kept in
# the scratch folder, never in the source tree.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
work=${QUILLMAR_FUZZ_DIR:-$(mktemp -d /tmp/quillmar-fuzz-XXXXXX)}
mkdir -p "$work/corpus"
clang=${CLANGXX:-clang++}

"$clang" -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "$root/tests/fuzz/wave_fuzz.cpp" "$root/platform/wave_posix.cpp" \
    -o "$work/wave_fuzz"

cp "$root"/tests/data/wave/corpus/*.wav "$work/corpus/"
cd "$work"
echo "fuzz-wave: running for ${seconds}s in $work"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ./wave_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=70000 \
    -print_final_stats=1 corpus
