#!/usr/bin/env bash
# Runs one test program of the Windows build, whole, under Wine (wine.sh),
# without its tests that hold for Linux only (linux-only.txt).
# Usage: run_suite.sh SUITE.exe [GTEST_ARG]...
set -euo pipefail
here=$(dirname "$0")
suite=$(basename "$1" .exe)
skipped=$(sed -e 's/#.*//' "$here/linux-only.txt" | awk -v s="$suite" '$1 == s { printf "%s%s", sep, $2; sep = ":" }')
# The dialog windows need a display: they run in their own test, under Xvfb.
[ -z "${DISPLAY:-}" ] && skipped="${skipped:+$skipped:}NativeDialogTest.*"
filter=()
[ -n "$skipped" ] && filter=("--gtest_filter=-$skipped")
exec "$here/wine.sh" "$@" --gtest_brief=1 "${filter[@]}"
