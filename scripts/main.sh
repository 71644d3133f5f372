#!/usr/bin/env bash
# The main job: builds the host and the plug-in, then composes the example
# title block with the palette and writes the drawing to out/example.dxf.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
mkdir -p out
build/release/bin/cadhost --load dist/Kestrin.arx --save out/example.dxf \
  --transcript out/example.txt examples/title-block.ks
/usr/bin/python3 examples/show_drawing.py out/example.dxf
echo "wrote out/example.dxf (transcript in out/example.txt)"
