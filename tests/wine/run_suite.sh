#!/usr/bin/env bash
# Runs one test program of the Windows build, whole, under Wine (wine.sh).
# Usage: run_suite.sh SUITE.exe [GTEST_ARG]...
set -euo pipefail
exec "$(dirname "$0")/wine.sh" "$@" --gtest_brief=1
