#!/usr/bin/env bash
# Runs a Windows program under wine64, headless: WINEDEBUG=-all and the Wine
# prefix of WINEPREFIX (scripts/test.sh mingw makes a fresh one), else of the
# build's own folder (build/mingw/wine-prefix), made on first use.
# Usage: wine.sh PROGRAM.exe [ARG]...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG=-all
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$here/../../build/mingw/wine-prefix"
fi
wine=${KESTRIN_WINE:-/usr/lib/wine/wine64}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # Two tests may start at once: one makes the prefix, the other waits.
  ( flock 9; [ -f "$WINEPREFIX/system.reg" ] || { "$wine" wineboot -i >/dev/null 2>&1; "${wine%64}server64" -w 2>/dev/null || true; } ) \
    9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
