#!/usr/bin/env bash
# Runs a command on a private Xvfb server: with-xvfb.sh COMMAND [ARGS...]
# The server picks a free display number itself (-displayfd); DISPLAY is set for the command, and the
# server is stopped when the command ends. The exit status is the command's.
set -euo pipefail

dir=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$dir/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$dir/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[ -s "$dir/display" ] || { echo "with-xvfb.sh: Xvfb did not start" >&2; exit 1; }

export DISPLAY=":$(head -n1 "$dir/display")"
# No D-Bus session here: Qt must not start one of its own (dbus-launch) that outlives the test.
export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-unix:path=/nonexistent/quillbox-no-bus}"
status=0
"$@" || status=$?
exit "$status"
