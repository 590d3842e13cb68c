#!/bin/sh
# Makes the test prefix (once) and keeps its wineserver running for the tests.
# "stop" ends that server.
set -e
. "$(dirname "$0")/wine-env.sh"
log="$WINEPREFIX.log"
if [ "$1" = stop ]; then
    wineserver -k >>"$log" 2>&1 || true
    exit 0
fi
if [ -z "$DISPLAY" ]; then
    echo "No display: run the tests under xvfb-run (make test does)." >&2
    exit 1
fi
if [ ! -f "$WINEPREFIX/configured" ]; then
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i >"$log" 2>&1 </dev/null
    # No window manager in Xvfb: let Wine manage windows itself.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$log" 2>&1 </dev/null
    # A crash must fail the test, not wait on a dialog.
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$log" 2>&1 </dev/null
    # Wine's own fonts, as tools/run.sh gives the program.
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/configured"
fi
wineserver -p >>"$log" 2>&1 </dev/null
