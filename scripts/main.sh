#!/usr/bin/env bash
# The main job: builds the host, the plug-in and its companion files, then
# composes the example title block with the palette (the own style "ZOR"
# takes zor.shx from dist/) and writes the drawing to out/example.dxf (R2000,
# the version of a new drawing), and the same drawing in R12 and R2018.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
mkdir -p out
build/release/bin/cadhost --load dist/Kestrin.arx --support dist --save out/example.dxf \
  --transcript out/example.txt examples/title-block.ks
/usr/bin/python3 examples/show_drawing.py --fonts dist out/example.dxf
# The host reads and writes DXF R10, R12, R13, R14, R2000, R2004, R2007,
# R2010, R2013 and R2018, ASCII and binary; here the drawing goes to two more.
printf 'save out/example-R12.dxf R12\nsave out/example-R2018.dxf R2018\n' |
  build/release/bin/cadhost --open out/example.dxf -
echo "wrote out/example.dxf (R2000; transcript in out/example.txt), out/example-R12.dxf and out/example-R2018.dxf"
echo "DXF versions read and written: R10, R12, R13, R14, R2000, R2004, R2007, R2010, R2013, R2018 (ASCII and binary)"
