#!/usr/bin/env bash
# Prints the cockpit's performance figures on this machine: the Google
# Benchmark runs of the host benchmark (medians of five repetitions), then
# instruction counts of one powered frame under callgrind (which stay the
# same on a busy machine).
#   scripts/bench.sh [benchmark filter]      (default: every benchmark)
# Builds the linux preset first. Needs valgrind for the instruction counts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target quillmar_host_bench >/dev/null
bench=build/linux/bin/quillmar_host_bench

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
"$bench" --benchmark_filter="${1:-.}" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_display_aggregates_only=true 2>&1 | grep -vE '_(mean|stddev|cv) '

if ! command -v valgrind >/dev/null; then
    echo "callgrind: valgrind is not installed; no instruction counts"
    exit 0
fi
out=$(mktemp -d /tmp/quillmar-callgrind-XXXXXX)
trap 'rm -rf "$out"' EXIT
valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out/frame" "$bench" --callgrind-frame \
    >/dev/null 2>"$out/log" || { cat "$out/log"; exit 1; }
echo "instructions of one powered frame (callgrind):"
for dump in "$out"/frame.*; do
    what=$(sed -n 's/^desc: Trigger: Client Request: //p' "$dump")
    total=$(sed -n 's/^totals: *//p' "$dump" | head -n1)
    [ "$what" ] && printf '  %-32s %12s\n' "$what" "$total"
done
