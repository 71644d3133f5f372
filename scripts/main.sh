#!/usr/bin/env bash
# The main job: builds the host and runs the example session, which writes a drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
mkdir -p out
build/release/bin/cadhost --save out/example.dxf --transcript out/example.txt examples/first-session.ks
echo "wrote out/example.dxf (transcript in out/example.txt)"
