#!/usr/bin/env bash
# Screenshots of the X display in DISPLAY, for the demos:
#   demo-shot.sh FILE.png                  the whole screen
#   demo-shot.sh FILE.png WINDOW...        only the rectangle around those windows (X window ids), with a
#                                          margin, in at most 64 colours: small enough for the README
# The PNG is written next to FILE.png first and moved into place, so a failed shot leaves no half file.
set -euo pipefail

out=$1
shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

xwd -root -silent >"$tmp/screen.xwd"
xwdtopnm "$tmp/screen.xwd" 2>/dev/null | pamdepth 255 >"$tmp/screen.ppm"

if [ $# -eq 0 ]; then
    pnmtopng -compression 9 "$tmp/screen.ppm" >"$tmp/shot.png"
else
    margin=6
    read -r screen_width screen_height < <(pamfile -size "$tmp/screen.ppm")
    left=$screen_width top=$screen_height right=0 bottom=0
    for window in "$@"; do
        info=$(xwininfo -id "$window")
        x=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$info")
        y=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$info")
        w=$(awk '/Width:/ { print $2 }' <<<"$info")
        h=$(awk '/Height:/ { print $2 }' <<<"$info")
        ((x < left)) && left=$x
        ((y < top)) && top=$y
        ((x + w > right)) && right=$((x + w))
        ((y + h > bottom)) && bottom=$((y + h))
    done
    left=$((left > margin ? left - margin : 0))
    top=$((top > margin ? top - margin : 0))
    right=$((right + margin < screen_width ? right + margin : screen_width))
    bottom=$((bottom + margin < screen_height ? bottom + margin : screen_height))
    pamcut -left "$left" -top "$top" -width "$((right - left))" -height "$((bottom - top))" "$tmp/screen.ppm" \
        >"$tmp/part.ppm"
    pnmcolormap -quiet 64 "$tmp/part.ppm" >"$tmp/colours.ppm"
    pnmremap -quiet -mapfile="$tmp/colours.ppm" "$tmp/part.ppm" | pnmtopng -compression 9 >"$tmp/shot.png"
fi
mv "$tmp/shot.png" "$out"
