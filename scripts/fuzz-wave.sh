#!/bin/sh
# Fuzzes the Linux wave reader for a bounded time (default 30 seconds):
# scripts/fuzz.sh with the wave target.
exec "$(dirname "$0")/fuzz.sh" wave "${1:-30}"
