#!/usr/bin/env bash
# Measures the DXF reader and writer on a drawing of COUNT single-line texts
# (1,000,000 by default, about 140 MB) in R2000, and on the same drawing in
# R2018 with Cyrillic texts (UTF-8). References measured in the same run: the
# reader and writer of an earlier commit (BASELINE, by default the last one
# before drawings of every version were read) on the R2000 file, built in a
# worktree of its own, and ezdxf loading each file.
# Usage: bench/run_dxf_bench.sh [COUNT] [BUILD_DIR]   (BASELINE=REV to change the reference)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-1000000}
build=${2:-build/bench}
baseline=${BASELINE:-d93b392}
cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j2 --target dxf_bench
bin="$build/bin/dxf_bench"
work="$build/dxf-bench"
mkdir -p "$work"
big="$work/texts-$count.dxf"
utf8="$work/texts-$count-r2018.dxf"
[ -f "$big" ] || "$bin" generate "$big" "$count"
[ -f "$utf8" ] || "$bin" generate "$utf8" "$count" R2018

# The earlier reader, from its own checkout of the tree.
base_src="$work/baseline-$baseline"
if [ ! -x "$base_src/build/bin/dxf_bench" ]; then
  rm -rf "$base_src"
  git worktree prune
  git worktree add --detach "$base_src" "$baseline" >/dev/null
  cmake -S "$base_src" -B "$base_src/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRIN_BENCH=ON >/dev/null
  cmake --build "$base_src/build" -j2 --target dxf_bench
fi
base_bin="$base_src/build/bin/dxf_bench"

# On a shared machine wall time counts waiting for a core too; the cpu
# figures (user + system time of the process) measure the work itself.
peak() {  # peak resident size of a command, from /usr/bin/time
  /usr/bin/time -v "$@" 2> "$work/time.txt" || { cat "$work/time.txt"; exit 1; }
  awk -F': ' '/Maximum resident/ {printf "  (time -v: peak %.0f MB)\n", $2 / 1000}' "$work/time.txt"
}
cpu_of() { sed -n 's/.*cpu \([0-9.]*\) s.*/\1/p' | head -1; }

cat > "$work/ezdxf_load.py" <<'PY'
import os, sys, time, ezdxf
path = sys.argv[1]
start, cpu0 = time.perf_counter(), time.process_time()
doc = ezdxf.readfile(path)
s, cpu = time.perf_counter() - start, time.process_time() - cpu0
mb = os.path.getsize(path) / 1e6
n = len(doc.modelspace())
print(f"load: wall {s:.2f} s = {mb / s:.1f} MB/s, {n / s:.0f} entities/s; cpu {cpu:.2f} s = {mb / cpu:.1f} MB/s, {n / cpu:.0f} entities/s")
PY

for file in "$big" "$utf8"; do
  echo "== Kestrin: $(basename "$file")"
  peak "$bin" load "$file" | tee "$work/now-load.txt"
  peak "$bin" save "$file" "$work/saved.dxf" | tee "$work/now-save.txt"
  cmp -s "$file" "$work/saved.dxf" && echo "  saved file is byte-identical to the loaded one"
  rm -f "$work/saved.dxf"
  if [ "$file" = "$big" ]; then
    echo "== the reader of $baseline (reference): $(basename "$file")"
    peak "$base_bin" load "$file" | tee "$work/base-load.txt"
    peak "$base_bin" save "$file" "$work/saved.dxf" | tee "$work/base-save.txt"
    rm -f "$work/saved.dxf"
    # The machine's first touch of fresh memory varies from run to run: the
    # ratios are of the medians of five runs of each, taken in turn.
    for step in load save; do
      : > "$work/now-$step.all"; : > "$work/base-$step.all"
      for _ in 1 2 3 4 5; do
        for who in now base; do
          b=$bin; [ $who = base ] && b=$base_bin
          if [ $step = load ]; then "$b" load "$file"; else "$b" save "$file" "$work/saved.dxf"; fi |
            cpu_of >> "$work/$who-$step.all"
        done
      done
      rm -f "$work/saved.dxf"
      awk -v now="$(sort -n "$work/now-$step.all" | sed -n 3p)" -v base="$(sort -n "$work/base-$step.all" | sed -n 3p)" \
        -v step=$step 'BEGIN {printf "  %s cpu, median of 5: %.2f s, %.2f x the reference (%.2f s)\n", step, now, now / base, base}'
    done
  fi
  echo "== ezdxf $(/usr/bin/python3 -c 'import ezdxf; print(ezdxf.__version__)') (reference): $(basename "$file")"
  peak /usr/bin/python3 "$work/ezdxf_load.py" "$file"
done
