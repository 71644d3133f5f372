#!/usr/bin/env bash
# Makes the README's picture of the desktop program: Kestrin plays the
# example title block (examples/title-block.ks) in its window, without a
# display (Qt's offscreen platform), and its own screenshot action takes the
# palette over the composed drawing just before the palette is left.
# With --deb the program is the installed one: the package unpacked into a
# temporary root and started as `kestrin`, with a fresh profile (made on its
# first start, registering the plug-in's menu group as the package lays it
# out). Without it, cadhost of a build with a profile that registers the menu
# group from the dist folder, as Plantor does.
# Usage: scripts/screenshot.sh [--deb out/kestrin_VERSION_amd64.deb] [OUT.png]
#   (default docs/kestrin-desktop.png; without --deb needs a release build)
# CADHOST and DIST name another build's program and dist folder (tests).
set -euo pipefail
cd "$(dirname "$0")/.."
deb=
if [ "${1:-}" = --deb ]; then
  [ $# -ge 2 ] || { echo "screenshot.sh: --deb needs the package file" >&2; exit 2; }
  deb=$2
  shift 2
  [ -f "$deb" ] || { echo "screenshot.sh: no package $deb (scripts/package.sh makes it)" >&2; exit 2; }
fi
out=$(realpath -m "${1:-docs/kestrin-desktop.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -q '^click "Выход"$' examples/title-block.ks
sed "/^click \"Выход\"\$/i screenshot \"$out\"" examples/title-block.ks > "$work/desktop.ks"
if [ -n "$deb" ]; then
  dpkg-deb -x "$deb" "$work/root"
  (cd "$work" && env -u KESTRIN_REGISTRY -u KESTRIN_SESSION -u DISPLAY -u WAYLAND_DISPLAY \
     HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" QT_QPA_PLATFORM=offscreen \
     "$work/root/usr/bin/kestrin" --save "$work/desktop.dxf" "$work/desktop.ks") > "$work/transcript.txt" 2>&1 \
    || { cat "$work/transcript.txt" >&2; exit 1; }
else
  cadhost=${CADHOST:-build/release/bin/cadhost}
  dist=${DIST:-dist}
  profiles='HKEY_CURRENT_USER\Software\Autodesk\AutoCAD\R15.0\ACAD-1:409\Profiles'
  printf 'REGEDIT4\n\n[%s]\n@="Desktop"\n\n[%s\\Desktop\\Menus]\n"Group1"="ZOR_ARX %s/Zor_arx"\n' \
    "$profiles" "$profiles" "$(realpath "$dist")" > "$work/host.reg"
  QT_QPA_PLATFORM=offscreen "$cadhost" --gui --load "$dist/Kestrin.arx" --support "$dist" \
    --registry "$work/host.reg" --save "$work/desktop.dxf" "$work/desktop.ks" > "$work/transcript.txt" 2>&1 \
    || { cat "$work/transcript.txt" >&2; exit 1; }
fi
[ -f "$out" ] || { echo "screenshot.sh: the session wrote no $out" >&2; cat "$work/transcript.txt" >&2; exit 1; }
echo "wrote $out"
