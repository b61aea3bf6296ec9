#!/usr/bin/env bash
# The Windows layer's own tests under wine64:
#   tests/e2e/wine/run-unit.sh build/windows-test/quillbox_win32_tests.exe
set -euo pipefail
tests=$(realpath "$1")
WINE_UNMANAGED=1 source "$(dirname "$0")/wine-env.sh"
cd "$WINE_SUITE_DIR"
timeout 600 $WINE "$tests"
