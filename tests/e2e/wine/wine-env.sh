# Sourced by the Wine suites: a fresh Wine prefix on a private X server, as Windows would run the
# program for a Japanese user. Wine runs through wine64 alone; the 32-bit loader is not installed
# (this machine runs no 32-bit code, and with it /usr/bin/wine would pick it).

export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG=-all
# No .NET or HTML engine: their installers would ask on the first start.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
WINE=/usr/lib/wine/wine64

# Without a Japanese locale Wine's ANSI code page is 1252 and CF_TEXT could not hold Japanese.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

WINE_SUITE_DIR=$(mktemp -d /tmp/quillbox-wine.XXXXXX)
export WINEPREFIX=$WINE_SUITE_DIR/prefix

display=90
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
    display=$((display + 1))
done
Xvfb :$display -screen 0 1280x1024x24 -nolisten tcp >"$WINE_SUITE_DIR/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY=:$display
for _ in $(seq 100); do
    [ -e /tmp/.X11-unix/X$display ] && break
    sleep 0.1
done

wine_suite_cleanup() {
    WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WINE_SUITE_DIR"
}
trap wine_suite_cleanup EXIT

$WINE wineboot -i >"$WINE_SUITE_DIR/wineboot.log" 2>&1
# There is no window manager on this X server: a managed window that is hidden waits in vain for the
# manager to withdraw it (about two seconds each). A suite that sets WINE_UNMANAGED=1 has Wine place
# its windows itself; the end-to-end suite does not, since its clicks and keys reach the tray menu
# only through a managed tray window.
if [ "${WINE_UNMANAGED:-0}" = 1 ]; then
    $WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
/usr/lib/wine/wineserver -w
