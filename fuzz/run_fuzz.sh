#!/usr/bin/env bash
# Builds the DXF reader fuzzer (clang, sanitizers) and runs it from a seed
# corpus of test drawings. Usage: fuzz/run_fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${2:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target dxf_reader_fuzz
seeds="$build/fuzz-seeds"
corpus="$build/fuzz-corpus"
mkdir -p "$seeds" "$corpus" "$build/fuzz-crashes"
if [ ! -f "$seeds/content.dxf" ]; then
  /usr/bin/python3 tests/host/dxf/make_drawings.py "$seeds"
fi
ASAN_OPTIONS=detect_leaks=1 "$build/bin/dxf_reader_fuzz" \
  -dict=fuzz/dxf.dict -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$build/fuzz-crashes/" "$corpus" "$seeds"
