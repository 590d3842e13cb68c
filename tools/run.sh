#!/bin/sh
# Starts the installed program under Wine, in a prefix of the build's own,
# with the alphabet file where the program looks for it.
# The program runs in a Wine desktop the size of the X screen: inside it Wine
# frames and maximizes windows itself, with or without a window manager, and a
# window manager manages the desktop as one window. Ends when the program ends,
# with its exit code; the desktop goes a second later.
# Usage: run.sh PROGRAM_FOLDER [PREFIX]
# WINE, if set, is the loader to use (the tests give their build's).
set -e
here=$(cd "$(dirname "$0")" && pwd)
program_folder=$(cd "$1" && pwd)
if [ -z "$DISPLAY" ]; then
    echo "No display (DISPLAY is not set): the program needs one to open its windows." >&2
    echo "Run it from a desktop session, or under a virtual display: xvfb-run -a make run" >&2
    exit 1
fi
size=$(xwininfo -root 2>/dev/null | awk '$1 == "Width:" {w = $2} $1 == "Height:" {h = $2}
                                        END {if (w && h) print w "x" h}')
if [ -z "$size" ]; then
    echo "Cannot read the size of the display $DISPLAY (xwininfo -root)." >&2
    exit 1
fi
loader=$WINE
. "$here/wine-select.sh"
if [ -n "$loader" ]; then
    WINE=$loader
    if [ "$WINE" = wine ]; then unset WINELOADER; else export WINELOADER="$WINE"; fi
fi
export WINEPREFIX="${2:-$(pwd)/$WINE_BUILD/wine-run}" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=C.UTF-8
log="$WINEPREFIX.log"
if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "Making the Wine prefix $WINEPREFIX..."
    "$WINE" wineboot -i >"$log" 2>&1 </dev/null
fi
# The program runs in the desktop "Кварнедо", other programs (reg among them)
# in the prefix's default one; the size is set again when the screen's has
# changed since the last run.
if [ "$(cat "$WINEPREFIX/desktop-size" 2>/dev/null)" != "$size" ]; then
    "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\Кварнедо.exe\Explorer' /v Desktop /d Кварнедо /f >>"$log" 2>&1 </dev/null
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Кварнедо /d "$size" /f >>"$log" 2>&1 </dev/null
    echo "$size" >"$WINEPREFIX/desktop-size"
fi
# Wine's own fonts (Tahoma for the dialogs, Marlett for the caption buttons), where
# this Wine does not find them by itself.
cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
mkdir -p "$WINEPREFIX/drive_c/language/Kelbu"
cp "$here/../data/Алфавит.txt" "$WINEPREFIX/drive_c/language/Kelbu/Алфавит.txt"
exec "$WINE" "$program_folder/Кварнедо.exe" </dev/null >>"$log" 2>&1
