#!/usr/bin/env bash
# Builds and runs every test. Usage: scripts/test.sh [PRESET] (default, debug, asan, mingw)
#
# mingw: the Windows cross build, its tests run under wine64 in a fresh Wine
# prefix made here (no display). Its build tools and the Linux side of the
# same-drawing sessions come from the default build, made first as far as needed.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
if [ "$preset" != mingw ]; then
  scripts/install-deps.sh
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
  exit 0
fi

scripts/install-deps.sh mingw
cmake --preset default >/dev/null
cmake --build --preset default --target shapec pixart cadhost zorString companion_files
prefix=$(mktemp -d /tmp/kestrin-wine-XXXXXX)
wineserver=/usr/lib/wine/wineserver64
cleanup() {
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
"$wineserver" -w
# One server for the whole run: each program then starts without a new one.
"$wineserver" -p
# The prefix's own processes (services and the like) start once, here: started
# by a test they would hold its standard error open, and ctest would wait on
# it for ever.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
cmake --preset mingw >/dev/null
cmake --build --preset mingw
rm -rf build/mingw/wine-display-prefix  # the dialog windows' tests make it afresh, with their display
ctest --preset mingw -j2
WINEPREFIX=$PWD/build/mingw/wine-display-prefix "$wineserver" -k 2>/dev/null || true
