#!/usr/bin/env bash
# Times kestrin-render on a drawing of COUNT entities (200,000 by default;
# dxf_bench writes it: single-line texts, about 30 MB for 200,000; with
# KIND=labels short ones of two to four characters; with KIND=mixed lines,
# polylines, arcs, circles, INSERTs with attributes and texts) against reading the same file (dxf_bench load), in the same run: CPU
# time (user + system) and peak resident size of each whole process, from
# /usr/bin/time, the least of three runs (SVG: one run; SVG=0 leaves it out);
# for the programs that use every core, the elapsed time as well.
# Then the desktop window (cadhost --gui, offscreen) opening the drawing and
# painting it whole once (its own screenshot), against cadhost holding the
# same drawing without a window (the drawing database's own memory).
# Usage: [KIND=texts|labels|mixed] [SVG=0] bench/run_render_bench.sh [COUNT] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-200000}
build=${2:-build/bench}
cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j2 --target dxf_bench kestrin-render cadhost companion_files
work="$build/render-bench"
mkdir -p "$work"
kind=${KIND:-texts}
file="$work/$kind-$count.dxf"
case "$kind" in
  texts) [ -f "$file" ] || "$build/bin/dxf_bench" generate "$file" "$count" ;;
  labels) [ -f "$file" ] || "$build/bin/dxf_bench" generate-labels "$file" "$count" ;;
  mixed) [ -f "$file" ] || "$build/bin/dxf_bench" generate-mixed "$file" "$count" ;;
  *) echo "KIND is texts, labels or mixed" >&2; exit 2 ;;
esac

measure_once() {  # prints "CPU_SECONDS PEAK_MB ELAPSED_SECONDS" of a command
  /usr/bin/time -f "%U %S %M %e" -o "$work/time.txt" "$@" > "$work/out.txt" 2>&1 || { cat "$work/out.txt"; exit 1; }
  awk '{printf "%.2f %.1f %.2f\n", $1 + $2, $3 / 1000, $4}' "$work/time.txt"
}
measure() {  # the least CPU time, peak and elapsed time of three runs
  for _ in 1 2 3; do measure_once "$@"; done | sort -n |
    awk 'NR == 1 {c = $1} {if (NR == 1 || $2 < m) m = $2; if (NR == 1 || $3 < e) e = $3} END {print c, m, e}'
}
read -r read_cpu read_mb read_wall < <(measure "$build/bin/dxf_bench" load "$file")
read -r png_cpu png_mb png_wall < <(measure "$build/bin/kestrin-render" "$file" "$work/out.png" --support dist)
[ "${SVG:-1}" = 0 ] || read -r svg_cpu svg_mb _ < <(measure_once "$build/bin/kestrin-render" "$file" "$work/out.svg" --support dist)
# A ratio of times; "-" when the reference is under the timer's 10 ms.
ratio='function r(a, b) { return b > 0 ? sprintf("%.1f", a / b) : "-" }'
echo "$(basename "$file"): $(du -m "$file" | cut -f1) MB"
echo "  read (dxf_bench load):   cpu $read_cpu s, peak $read_mb MB"
awk -v c="$png_cpu" -v m="$png_mb" -v rc="$read_cpu" -v rm="$read_mb" -v e="$png_wall" -v re="$read_wall" \
  "$ratio"' BEGIN {printf "  kestrin-render PNG:      cpu %s s = %s x the read, elapsed %s s = %s x, peak %s MB = %.2f x the read\n", c, r(c, rc), e, r(e, re), m, m / rm}'
[ "${SVG:-1}" = 0 ] || awk -v c="$svg_cpu" -v m="$svg_mb" -v rc="$read_cpu" -v rm="$read_mb" \
  "$ratio"' BEGIN {printf "  kestrin-render SVG:      cpu %s s = %s x the read, peak %s MB = %.2f x the read\n", c, r(c, rc), m, m / rm}'

: > "$work/empty.ks"
printf 'screenshot "%s"\n' "$(realpath "$work")/window.png" > "$work/paint.ks"
read -r db_cpu db_mb db_wall < <(measure "$build/bin/cadhost" --open "$file" "$work/empty.ks")
read -r win_cpu win_mb win_wall < <(QT_QPA_PLATFORM=offscreen measure "$build/bin/cadhost" --gui --open "$file" "$work/paint.ks")
[ -s "$work/window.png" ] || { echo "the window painted nothing" >&2; exit 1; }
echo "  cadhost, drawing open:   cpu $db_cpu s, peak $db_mb MB"
awk -v c="$win_cpu" -v m="$win_mb" -v rc="$read_cpu" -v dc="$db_cpu" -v dm="$db_mb" -v e="$win_wall" -v re="$read_wall" \
  "$ratio"' BEGIN {printf "  window, first paint:     cpu %s s = %s x the read (%s x cadhost alone), elapsed %s s = %s x the read, peak %s MB = %.2f x the database\n", c, r(c, rc), r(c, dc), e, r(e, re), m, m / dm}'
