#!/usr/bin/env bash
# The tour of `make demo` for the Windows build, under wine64 (`make demo-windows`):
#   scripts/demo-windows.sh [--docs DIR] [BUILD_DIR [SHOTS_DIR]]   (build/windows and build/demo-windows)
# A fresh Wine prefix on a private Xvfb, as the Wine end-to-end suite sets it up (its wine-env.sh), then
# demo-windows.py drives quillbox.exe step by step and leaves SHOTS_DIR/NN-name.png. Everything started
# here (Xvfb, the prefix's wineserver and programs, xclip) is ended on the way out, also on a failure.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
docs=()
if [ "${1:-}" = --docs ]; then
    mkdir -p "$2"
    docs=(--docs "$(cd "$2" && pwd)")
    shift 2
fi
build=$(cd "${1:-$root/build/windows}" && pwd)
shots=${2:-$root/build/demo-windows}
for exe in quillbox.exe e2e_helper.exe; do
    [ -f "$build/$exe" ] || { echo "demo-windows: $build/$exe is missing; \`make windows\` builds it" >&2; exit 1; }
done
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)

echo "demo-windows: a fresh Wine prefix (this takes a while)"
source "$root/tests/e2e/wine/wine-env.sh"
# A signal ends the tour; wine-env.sh's exit trap then takes the prefix and the display away.
tour=
trap '[ -n "$tour" ] && kill "$tour" 2>/dev/null; echo "demo-windows: interrupted" >&2; exit 130' INT TERM HUP
/usr/bin/python3 -B "$here/demo-windows.py" "${docs[@]}" "$build/quillbox.exe" "$build/e2e_helper.exe" \
    "$WINE_SUITE_DIR" "$shots" &
tour=$!
status=0
wait "$tour" || status=$?
tour=
exit "$status"
