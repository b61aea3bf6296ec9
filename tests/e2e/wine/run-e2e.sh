#!/usr/bin/env bash
# Quillbox end to end under wine64:
#   tests/e2e/wine/run-e2e.sh build/windows/quillbox.exe build/windows/e2e_helper.exe
set -euo pipefail
quillbox=$(realpath "$1")
helper=$(realpath "$2")
here=$(realpath "$(dirname "$0")")
source "$here/wine-env.sh"
timeout 600 /usr/bin/python3 "$here/e2e.py" "$quillbox" "$helper" "$WINE_SUITE_DIR"
