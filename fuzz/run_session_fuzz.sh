#!/usr/bin/env bash
# Builds the session-script reader fuzzer (clang, sanitizers) and runs it from
# the session scripts of the tests and examples.
# Usage: fuzz/run_session_fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${2:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target session_script_fuzz
seeds="$build/session-seeds"
corpus="$build/session-corpus"
mkdir -p "$seeds" "$corpus" "$build/session-crashes"
cp tests/sessions/*.ks tests/sessions/*/*.ks examples/*.ks "$seeds/"
ASAN_OPTIONS=detect_leaks=1 "$build/bin/session_script_fuzz" \
  -dict=fuzz/session.dict -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$build/session-crashes/" "$corpus" "$seeds"
