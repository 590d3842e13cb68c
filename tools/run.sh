#!/bin/sh
# Starts the installed program under Wine, in a prefix of the build's own,
# with the alphabet file where the program looks for it.
set -e
program_folder=$(cd "$1" && pwd)
if [ -z "$DISPLAY" ]; then
    echo "No display (DISPLAY is not set): the program needs one to open its windows." >&2
    echo "Run it from a desktop session, or under a virtual display: xvfb-run -a make run" >&2
    exit 1
fi
. "$(dirname "$0")/wine-select.sh"
export WINEPREFIX="$(pwd)/$WINE_BUILD/wine-run" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=C.UTF-8
if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "Making the Wine prefix $WINEPREFIX..."
    "$WINE" wineboot -i >"$WINEPREFIX.log" 2>&1 </dev/null
fi
mkdir -p "$WINEPREFIX/drive_c/language/Kelbu"
cp data/Алфавит.txt "$WINEPREFIX/drive_c/language/Kelbu/Алфавит.txt"
exec "$WINE" "$program_folder/Кварнедо.exe" </dev/null >>"$WINEPREFIX.log" 2>&1
