#!/usr/bin/env bash
# Measures the DXF reader and writer on a drawing of COUNT single-line texts
# (1,000,000 by default, about 140 MB), and ezdxf loading the same file as a
# reference. Usage: bench/run_dxf_bench.sh [COUNT] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-1000000}
build=${2:-build/bench}
cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j2 --target dxf_bench
bin="$build/bin/dxf_bench"
work="$build/dxf-bench"
mkdir -p "$work"
big="$work/texts-$count.dxf"
[ -f "$big" ] || "$bin" generate "$big" "$count"

# On a shared machine wall time counts waiting for a core too; the cpu
# figures (user + system time of the process) measure the work itself.
peak() {  # peak resident size of a command, from /usr/bin/time
  /usr/bin/time -v "$@" 2> "$work/time.txt" || { cat "$work/time.txt"; exit 1; }
  awk -F': ' '/Maximum resident/ {printf "  (time -v: peak %.0f MB)\n", $2 / 1000}' "$work/time.txt"
}
echo "== Kestrin"
peak "$bin" load "$big"
peak "$bin" save "$big" "$work/saved.dxf"
cmp -s "$big" "$work/saved.dxf" && echo "  saved file is byte-identical to the loaded one"
rm -f "$work/saved.dxf"

echo "== ezdxf $(/usr/bin/python3 -c 'import ezdxf; print(ezdxf.__version__)') (reference)"
peak /usr/bin/python3 -c '
import os, sys, time, ezdxf
path = sys.argv[1]
start, cpu0 = time.perf_counter(), time.process_time()
doc = ezdxf.readfile(path)
s, cpu = time.perf_counter() - start, time.process_time() - cpu0
mb = os.path.getsize(path) / 1e6
n = len(doc.modelspace())
print(f"load: wall {s:.2f} s = {mb / s:.1f} MB/s, {n / s:.0f} entities/s; cpu {cpu:.2f} s = {mb / cpu:.1f} MB/s, {n / cpu:.0f} entities/s")
' "$big"
