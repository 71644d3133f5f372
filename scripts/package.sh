#!/usr/bin/env bash
# Builds the release preset and makes the Debian package
# out/kestrin_VERSION_amd64.deb with CPack, then checks it
# (tests/packaging/check_package.py: contents, desktop entry, lintian, and
# the installed programs run from an unpacked copy).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
mkdir -p out
rm -f out/kestrin_*.deb
(cd build/release && cpack --config CPackConfig.cmake)
deb=$(ls out/kestrin_*_amd64.deb)
/usr/bin/python3 tests/packaging/check_package.py "$deb"
echo "wrote $deb"
