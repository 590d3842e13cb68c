#!/bin/sh
# make run as a user meets it, on an X screen of its own: tools/run.sh on the
# installed program, in a prefix of these tests (wine-desktop/ of the build).
# Checks that the program's Wine desktop fills the screen (and, with a window
# manager, is managed by it), that the main window is maximized with its caption
# inside, then presses End and checks that run.sh returns 0 and the desktop goes.
# Usage: desktop-run.sh none|openbox WIDTHxHEIGHT CHECKER_EXE SOURCE_DIR
set -u
wm=$1 size=$2 checker=$3 source_dir=$4
width=${size%x*} height=${size#*x}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$here/.." && pwd)
. "$here/wine-env.sh"
export WINEPREFIX="$build/wine-desktop"
work="$build/desktop-$wm"
desktop_title="Кварнедо - Wine desktop"
xvfb_pid="" wm_pid="" run_pid=""

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
cleanup() {
    [ -d "$WINEPREFIX/drive_c" ] && wineserver -k >/dev/null 2>&1
    [ -z "$run_pid" ] || kill "$run_pid" 2>/dev/null
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# wait_until SECONDS WHAT SEEN COMMAND...: polls COMMAND until it succeeds; on the
# deadline fails saying WHAT it waited for and what the command SEEN prints.
wait_until() {
    seconds=$1 what=$2 seen=$3
    limit=$(($(date +%s) + seconds))
    shift 3
    until "$@"; do
        [ "$(date +%s)" -lt "$limit" ] || fail "no $what after $seconds s; seen: $($seen)"
        sleep 0.05
    done
}
has_content() { [ -s "$1" ]; }
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
desktop_window() { xwininfo -name "$desktop_title" 2>/dev/null | awk '/Window id:/ {print $4}'; }
desktop_shown() { [ -n "$(desktop_window)" ]; }
# Gone only when a whole look at the tree (none broken by windows going meanwhile) lacks it.
desktop_gone() {
    tree=$(xwininfo -root -tree 2>/dev/null) && ! printf '%s\n' "$tree" | grep -qF "\"$desktop_title\""
}
returned() { [ -s "$work/run.status" ]; }
xvfb_log() { cat "$work/xvfb.log"; }
wm_log() { cat "$work/openbox.log"; }
windows() { xwininfo -root -tree 2>&1 | grep '"' | grep -v ' 1x1+' || echo "no named window"; }
run_log() { cat "$work/run.log" "$WINEPREFIX.log"; }

rm -rf "$work"
mkdir -p "$work"

# The screen, on a display number the server picks itself.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_until 10 "Xvfb display" xvfb_log has_content "$work/display"
export DISPLAY=":$(cat "$work/display")"
if [ "$wm" = openbox ]; then
    openbox >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    wait_until 10 "openbox on $DISPLAY" wm_log wm_up
fi

# The prefix, once per build folder.
if [ ! -f "$WINEPREFIX/configured" ]; then
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i >"$WINEPREFIX.log" 2>&1 </dev/null
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$WINEPREFIX.log" 2>&1 </dev/null
    # The checker joins the program's desktop, as the program does.
    "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\desktop_check.exe\Explorer' /v Desktop /d Кварнедо /f >>"$WINEPREFIX.log" 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/configured"
fi

"${CMAKE:-cmake}" --install "$build" --prefix "$work/program" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$work/install.log")"
(
    cd "$source_dir"
    WINE=$WINE sh tools/run.sh "$work/program" "$WINEPREFIX" >"$work/run.log" 2>&1
    echo $? >"$work/run.status"
) &
run_pid=$!

wait_until 30 "window \"$desktop_title\"" windows desktop_shown
window=$(desktop_window)
# Where the window is and its size, as "X,Y,WIDTHxHEIGHT".
geometry() {
    xwininfo -id "$window" 2>&1 | awk '$1 == "Absolute" && $2 == "upper-left" {p = p $4 ","}
                                      $1 == "Width:" {w = $2} $1 == "Height:" {h = $2}
                                      END {print p w "x" h}'
}
fills_screen() { [ "$(geometry)" = "0,0,$size" ]; }
clients() { xprop -root _NET_CLIENT_LIST 2>&1; }
# xwininfo and xprop write window ids alike (0x…, no leading zeros).
managed() { clients | tr ' ,' '\n\n' | grep -qix "$window"; }
wait_until 10 "desktop window $window filling the screen ($size at 0,0)" geometry fills_screen
echo "desktop window $window fills the screen"
if [ "$wm" = openbox ]; then
    wait_until 10 "desktop window $window managed by openbox" clients managed
    echo "managed by openbox: $(clients)"
fi

"$WINE" "$checker" Кварнедо "$width" "$height" >"$work/check.log" 2>&1 </dev/null
checked=$?
cat "$work/check.log"
[ "$checked" -eq 0 ] || fail "desktop_check.exe exited with $checked"

wait_until 10 "end of run.sh after End" run_log returned
[ "$(cat "$work/run.status")" = 0 ] || fail "run.sh returned $(cat "$work/run.status"): $(cat "$work/run.log")"
wait_until 10 "end of the desktop after End" windows desktop_gone
echo "run.sh returned 0 and the desktop is gone"
