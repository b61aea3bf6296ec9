#!/usr/bin/env bash
# A tour of the Linux build for someone without a desktop at hand (`make demo`):
#   scripts/demo.sh [--docs DIR] [BUILD_DIR [SHOTS_DIR]]     (build/linux and build/demo by default)
# Starts a private Xvfb with a tray (trayer), then Quillbox in a fresh temporary directory with a fresh
# settings file, and uses it as a person would: copies, the tray menu, 設定, a typed file name, the
# About box and 閉じる(&C). Each step is checked and leaves a screenshot SHOTS_DIR/NN-name.png; at the end
# the date directories and files Quillbox wrote are listed with their sizes. --docs DIR also writes the
# README's small pictures of the tray menu, the settings dialog and the name prompt into DIR.
# Every process started here is ended on the way out, also when a step fails (exit status 1).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
docs=
if [ "${1:-}" = --docs ]; then
    docs=$(mkdir -p "$2" && cd "$2" && pwd)
    shift 2
fi
build=$(cd "${1:-$root/build/linux}" && pwd)
shots=${2:-$root/build/demo}
program=$build/quillbox
[ -x "$program" ] || { echo "demo: $program is missing; \`make demo\` builds it" >&2; exit 1; }
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
rm -f "$shots"/*.png

tmp=$(mktemp -d /tmp/quillbox-demo.XXXXXX)
work=$tmp/work
mkdir -p "$work" "$tmp/home" "$tmp/config" "$tmp/run"
chmod 700 "$tmp/run"
# A fresh user: no settings yet, nothing of the real session's.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
registry=$XDG_CONFIG_HOME/Quillbox/registry.reg
# Qt's logical DPI, and so the forms' scale of 96/120 that the clicks below are computed with.
export QT_FONT_DPI=96 QT_QPA_PLATFORM=xcb
# No D-Bus session: Qt must not start one of its own (dbus-launch) that would outlive the demo.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/quillbox-demo
export LC_ALL=C.UTF-8

xvfb_pid=
quillbox_pid=
pids=()
cleanup() {
    for pid in $quillbox_pid "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'echo "demo: interrupted" >&2; exit 130' INT TERM HUP

number=0
title=
# step NAME TITLE: the next step; its screenshot is SHOTS_DIR/NN-NAME.png.
step() {
    number=$((number + 1))
    shot_name=$(printf '%02d-%s' "$number" "$1")
    title=$2
}
fail() {
    echo "demo: step $(printf %02d "$number") ($title) failed: $1" >&2
    if [ -n "${DISPLAY:-}" ]; then
        "$here/demo-shot.sh" "$shots/$(printf %02d "$number")-failed.png" 2>/dev/null &&
            echo "demo: the screen at that moment: $shots/$(printf %02d "$number")-failed.png" >&2
    fi
    if [ -s "$tmp/quillbox.log" ]; then
        echo "--- quillbox's output:" >&2
        cat "$tmp/quillbox.log" >&2
    fi
    exit 1
}
# shot [README_NAME WINDOW...]: the screenshot of this step; with a name and windows, and --docs, also
# the picture of just those windows for the README.
shot() {
    "$here/demo-shot.sh" "$shots/$shot_name.png" || fail "the screenshot could not be taken"
    if [ $# -gt 1 ] && [ -n "$docs" ]; then
        "$here/demo-shot.sh" "$docs/$1.png" "${@:2}" || fail "the README picture $1.png could not be made"
    fi
    echo "ok $(printf %02d "$number") - $title (${shots#"$root"/}/$shot_name.png)"
}
# wait_until SECONDS COMMAND...: polls until the command succeeds; false after SECONDS.
wait_until() {
    local limit=$(($1 * 20))
    shift
    for _ in $(seq "$limit"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}
visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
has_visible_window() { [ -n "$(visible_window "$1")" ]; }
no_visible_window() { [ -z "$(visible_window "$1")" ]; }
# has_focus NAME: the keyboard goes to that window (set by Qt itself: there is no window manager).
has_focus() { [ -n "$(visible_window "$1")" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(visible_window "$1")" ]; }
quillbox_windows() { xdotool search --onlyvisible --classname '^quillbox$' 2>/dev/null | sort; }
quillbox_running() { kill -0 "$quillbox_pid" 2>/dev/null; }
# click_design WINDOW X Y: a click at a point of the window's client area given in design pixels.
click_design() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove "$((X + ($2 * 4 + 2) / 5))" "$((Y + ($3 * 4 + 2) / 5))" click 1
}
# copy FILE: puts the file's bytes on the CLIPBOARD selection, as a program's Copy does. xclip stays
# in the foreground (-quiet) serving it until another copy takes over, so that it can be ended here.
copy() {
    xclip -selection clipboard -quiet -i "$1" </dev/null >/dev/null 2>&1 &
    pids+=($!)
}
# saved FILE CLIP: the clip file appears with exactly the copied bytes.
saved() { wait_until 10 cmp -s "$1" "$2"; }

weekdays=(日 月 火 水 木 金 土)
day=$(date +%y%m%d)
day_with_weekday="$day(${weekdays[$(date +%w)]})"

# --- The display, its tray, and Quillbox.
step tray "a private display with a tray, and Quillbox's icon in it"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
wait_until 10 test -s "$tmp/display" || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
DISPLAY=":$(head -n1 "$tmp/display")"
export DISPLAY
xsetroot -solid '#3a6ea5'

# xdotool types a character the keyboard lacks by remapping a key just before pressing it, and a
# program that has not caught up with the new map drops that character now and then. The characters
# typed below get keys of their own before anything starts.
typed_name=買い物メモ
mapfile -t free_keys < <(xmodmap -pke | awk 'NF == 3 { print $2 }')
for ((i = 0; i < ${#typed_name}; i++)); do
    xmodmap -e "keycode ${free_keys[$i]} = $(printf 'U%04X' "'${typed_name:i:1}")"
done

trayer --edge top --align right --widthtype request --height 24 --SetDockType false >"$tmp/trayer.log" 2>&1 &
pids+=($!)
wait_until 10 has_visible_window panel || fail "the tray (trayer) did not start"
panel=$(visible_window panel)

cd "$work" || fail "no work directory"
"$program" >"$tmp/quillbox.log" 2>&1 &
quillbox_pid=$!
wait_until 10 sh -c "xwininfo -id $panel -tree | grep -q '\"quillbox\"'" ||
    fail "Quillbox's icon did not appear in the tray"
quillbox_running || fail "Quillbox ended at its start"
shot

click_tray() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    # Two presses on the icon within Qt's double-click interval (400 ms) make a double click.
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" click 1
}
# open_menu: a press on the icon pops up the menu; its window is left in $menu.
menu=
menu_opened() {
    menu=$(comm -13 <(echo "$1") <(quillbox_windows) | head -n1)
    [ -n "$menu" ]
}
open_menu() {
    local before
    before=$(quillbox_windows)
    click_tray
    wait_until 3 menu_opened "$before" && return
    # Now and then Qt 6.4 starts the menu but never maps its window; a user would press again.
    xdotool key Escape
    click_tray
    wait_until 10 menu_opened "$before" || fail "a press on the icon did not pop up the menu"
}

# --- Copies, saved as numbered files in today's directory.
step copies "three copies (ASCII, Japanese, several lines) become $day/1.txt, 2.txt, 3.txt"
printf 'Hello, Quillbox!' >"$tmp/ascii"
printf 'こんにちは、クリップボード。' >"$tmp/japanese"
printf '一行目: first line\n二行目: second line\n三行目: third line\n' >"$tmp/lines"
n=0
for clip in ascii japanese lines; do
    n=$((n + 1))
    copy "$tmp/$clip"
    saved "$tmp/$clip" "$work/$day/$n.txt" || fail "the $clip copy was not saved byte for byte as $day/$n.txt"
done
[ "$(ls "$work/$day")" = "$(printf '1.txt\n2.txt\n3.txt')" ] ||
    fail "$day holds other files than 1.txt, 2.txt and 3.txt: $(ls "$work/$day" | tr '\n' ' ')"
shot

# --- The tray menu, then 設定.
step menu "a click on the icon opens the menu: 設定, ﾊﾞｰｼｮﾝ情報(&A), 閉じる(&C)"
open_menu
shot tray-menu "$panel" "$menu"

step settings "設定 opens the settings dialog, showing the defaults 980304 and 番号順"
xdotool key Down Return
wait_until 10 has_visible_window 設定 || fail "設定 in the menu did not show the settings dialog"
settings=$(visible_window 設定)
sleep 0.3
shot

# The lists are opened with a click and answered with the keyboard. (No screenshot of an open list: on
# Xvfb, Qt 6.4 leaves a combo box's popup black, in any Qt program.)
step settings-chosen "980304(水) and 自分で付ける are chosen from the lists"
list_opened() { [ "$(quillbox_windows | wc -l)" -gt 2 ]; }
click_design "$settings" 208 19 # ComboBox1
wait_until 5 list_opened || fail "a click on the list of date patterns did not open it"
sleep 0.3
xdotool key Down Return # 980304 -> 980304(水)
sleep 0.3
click_design "$settings" 208 59 # ComboBox2
wait_until 5 list_opened || fail "a click on the list of file naming styles did not open it"
sleep 0.3
xdotool key Down Return # 番号順(1,2,3,・・・) -> 自分で付ける
sleep 0.3
has_visible_window 設定 || fail "the settings dialog closed while choosing"
shot settings "$settings"

step saved "設定完了! saves the choice in the settings file and closes the dialog"
click_design "$settings" 149 100 # 設定完了!
wait_until 10 no_visible_window 設定 || fail "設定完了! did not close the settings dialog"
grep -A1 -F '[HKEY_CURRENT_USER\Software\Quillbox\Directory]' "$registry" | grep -qx '"DNumber"="1"' ||
    fail "the settings file does not hold DNumber 1: $(cat "$registry" 2>&1)"
grep -A1 -F '[HKEY_CURRENT_USER\Software\Quillbox\File]' "$registry" | grep -qx '"FNumber"="1"' ||
    fail "the settings file does not hold FNumber 1: $(cat "$registry" 2>&1)"
shot

# --- With 自分で付ける, the next copy asks for its name.
step prompt "the next copy asks for a file name (ﾌｧｲﾙ名を付ける); a name is typed"
printf 'メモ: 牛乳、卵、パン\n' >"$tmp/named"
copy "$tmp/named"
wait_until 10 has_focus 'ﾌｧｲﾙ名を付ける' || fail "the copy did not show the file-name prompt, active"
prompt=$(visible_window 'ﾌｧｲﾙ名を付ける')
sleep 0.3
xdotool type --delay 40 "$typed_name"
sleep 0.3
shot prompt "$prompt"

step named "Enter saves the clip as $day_with_weekday/$typed_name.txt"
xdotool key Return
saved "$tmp/named" "$work/$day_with_weekday/$typed_name.txt" ||
    fail "Enter did not save $day_with_weekday/$typed_name.txt: $(cd "$work" && find . -type f | tr '\n' ' ')"
wait_until 10 no_visible_window 'ﾌｧｲﾙ名を付ける' || fail "the prompt stayed open after Enter"
shot

# --- The About box.
step about "ﾊﾞｰｼｮﾝ情報(&A) shows the About box"
open_menu
xdotool key a
wait_until 10 has_visible_window 'Version Infomation' || fail "ﾊﾞｰｼｮﾝ情報(&A) did not show the About box"
about=$(visible_window 'Version Infomation')
sleep 0.3
shot

step about-closed "OK closes the About box"
click_design "$about" 180 215 # OKButton
wait_until 10 no_visible_window 'Version Infomation' || fail "OK did not close the About box"
shot

# --- 閉じる(&C).
step closing "the menu again, to choose 閉じる(&C)"
open_menu
shot

step closed "閉じる(&C) ends Quillbox with exit code 0 and takes its icon away"
xdotool key c
wait_until 10 sh -c "! kill -0 $quillbox_pid" || fail "閉じる(&C) did not end Quillbox"
wait "$quillbox_pid"
status=$?
quillbox_pid=
wait_until 5 sh -c "! xwininfo -id $panel -tree | grep -q '\"quillbox\"'" || fail "the icon stayed in the tray"
shot
[ "$status" -eq 0 ] || fail "Quillbox ended with exit code $status"

echo
echo "What Quillbox wrote in its directory ($work):"
find "$work" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort | while read -r dir; do
    echo "  $dir/"
    (cd "$work/$dir" && find . -maxdepth 1 -type f -printf '%s\t%P\n' | sort -t$'\t' -k2) | while IFS=$'\t' read -r size name; do
        printf '    %8d bytes  %s\n' "$size" "$name"
    done
done
echo "Quillbox's exit code: $status"
echo "Screenshots: ${shots#"$root"/}/ ($(ls "$shots" | wc -l) files)"
