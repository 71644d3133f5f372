#!/usr/bin/env bash
# The main job: builds the host, the plug-in and its companion files, then
# composes the example title block with the palette (the own style "ZOR"
# takes zor.shx from dist/) and writes the drawing to out/example.dxf.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
mkdir -p out
build/release/bin/cadhost --load dist/Kestrin.arx --support dist --save out/example.dxf \
  --transcript out/example.txt examples/title-block.ks
/usr/bin/python3 examples/show_drawing.py --fonts dist out/example.dxf
echo "wrote out/example.dxf (transcript in out/example.txt)"
