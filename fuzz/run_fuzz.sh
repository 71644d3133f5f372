#!/usr/bin/env bash
# Builds the fuzzers (clang, sanitizers) and runs each for SECONDS: the DXF
# reader (and the version changes) from a seed corpus of test drawings of
# every version, then the REGEDIT4 reader from
# fuzz/registry-seeds. A crash stops the script with the fuzzer's status; its
# input is kept in BUILD_DIR/fuzz-crashes/.
# Usage: fuzz/run_fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${2:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target dxf_reader_fuzz registry_file_fuzz
mkdir -p "$build/fuzz-crashes"

# run NAME DICT MAX_LEN SEEDS: one fuzzer, its corpus kept between runs.
run() {
  local name=$1 dict=$2 max_len=$3 seeds=$4
  local corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  echo "== $name ($seconds s)"
  ASAN_OPTIONS=detect_leaks=1 "$build/bin/$name" \
    -dict="$dict" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-crashes/$name-" "$corpus" "$seeds"
}

dxf_seeds="$build/fuzz-seeds"
mkdir -p "$dxf_seeds"
if [ ! -f "$dxf_seeds/content.dxf" ]; then
  /usr/bin/python3 tests/host/dxf/make_drawings.py "$dxf_seeds"
  # Every version, code page and form, binary included.
  /usr/bin/python3 tests/host/corpus/make_corpus.py "$dxf_seeds"
fi
run dxf_reader_fuzz fuzz/dxf.dict 65536 "$dxf_seeds"
run registry_file_fuzz fuzz/registry.dict 16384 fuzz/registry-seeds
