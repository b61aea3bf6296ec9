#!/usr/bin/env bash
# The end-to-end tests of the Linux build: run.sh [BUILD_DIR] (build/linux by default).
# Quillbox runs twice, each time on a private Xvfb server in a temporary directory with a temporary HOME:
# once with an XEmbed tray (trayer) and no D-Bus, once with a StatusNotifierWatcher on a private
# D-Bus session.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../../build/linux}

status=0
# Without a session bus Qt must not start one of its own (dbus-launch) that would outlive the run.
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/quillbox-e2e "$here/with-xvfb.sh" "$here/scenario.sh" xembed "$build" ||
    status=1
dbus-run-session -- "$here/with-xvfb.sh" "$here/scenario.sh" sni "$build" || status=1
exit "$status"
