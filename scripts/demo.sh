#!/usr/bin/env bash
# The main job: builds the Linux modules and the substitute host, then flies
# the built-in demo flight and prints where its trace and pictures are.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 >/dev/null
exec build/linux/bin/quillmar-host demo --out "${1:-out/demo}"
