#!/usr/bin/env bash
# Makes the README's picture of the desktop program: cadhost --gui plays the
# example title block (examples/title-block.ks) in its window, without a
# display (Qt's offscreen platform), and its own screenshot action takes the
# palette over the composed drawing just before the palette is left. The
# host's profile registers the plug-in's menu group from the dist folder, as
# Plantor does, so the toolbar shows its two buttons.
# Usage: scripts/screenshot.sh [OUT.png]   (default docs/kestrin-desktop.png; needs a release build)
# CADHOST and DIST name another build's program and dist folder (tests).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/kestrin-desktop.png}
cadhost=${CADHOST:-build/release/bin/cadhost}
dist=${DIST:-dist}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
profiles='HKEY_CURRENT_USER\Software\Autodesk\AutoCAD\R15.0\ACAD-1:409\Profiles'
printf 'REGEDIT4\n\n[%s]\n@="Desktop"\n\n[%s\\Desktop\\Menus]\n"Group1"="ZOR_ARX %s/Zor_arx"\n' \
  "$profiles" "$profiles" "$(realpath "$dist")" > "$work/host.reg"
grep -q '^click "Выход"$' examples/title-block.ks
sed "/^click \"Выход\"\$/i screenshot \"$(realpath -m "$out")\"" examples/title-block.ks > "$work/desktop.ks"
QT_QPA_PLATFORM=offscreen "$cadhost" --gui --load "$dist/Kestrin.arx" --support "$dist" \
  --registry "$work/host.reg" --save "$work/desktop.dxf" "$work/desktop.ks" > "$work/transcript.txt" 2>&1 \
  || { cat "$work/transcript.txt" >&2; exit 1; }
echo "wrote $out"
