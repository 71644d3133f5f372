#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Usage: install-deps.sh [mingw]. With "mingw" also the Windows cross
# compiler, its zlib, Wine and a virtual X server (for the dialog windows'
# test), which only the mingw job needs.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev python3-ezdxf
  dpkg-dev file desktop-file-utils lintian
  hershey-fonts-data fp-utils python3-chm python3-pil zlib1g-dev qt6-base-dev libfontconfig-dev libfreetype-dev
  fonts-dejavu-core libedit-dev man-db)
if [ "${1:-}" = mingw ]; then
  packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 xvfb xauth)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}" \
  || { "${sudo_cmd[@]}" apt-get update && "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; }
