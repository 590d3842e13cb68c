#!/bin/sh
# make bench: Кварнедо against a bare Win32 floor under Wine, in the tests' prefix.
# Run from the repository root under a display (make bench uses xvfb-run).
# Arguments pick measures (startup, load, note; all by default); BENCH_RUNS sets the runs.
# BENCH_PRESET=x64 benches the 64-bit build under wine64 where 32-bit Wine would run too;
# by default tools/wine-select.sh picks the build.
set -e
root=$(pwd)
. tools/wine-select.sh
if [ "${BENCH_PRESET:-}" = x64 ]; then
    WINE=/usr/lib/wine/wine64 WINE_PRESET=x64 WINE_BUILD=build-x64
    export WINELOADER="$WINE"
fi
here=tests/bench
out=$WINE_BUILD/bench
runs=${BENCH_RUNS:-11}
program=${BENCH_PROGRAM:-$WINE_BUILD/Кварнедо.exe}  # another build of the program, to try a change

if [ -z "$DISPLAY" ]; then
    echo "No display: run under xvfb-run (make bench does)." >&2
    exit 1
fi
if [ ! -f "$program" ]; then
    echo "$program is missing: make build first." >&2
    exit 1
fi

case $WINE_PRESET in
x64) CXX=x86_64-w64-mingw32-g++ ;;
*) CXX=i686-w64-mingw32-g++ ;;
esac
mkdir -p "$out"
FLAGS="-std=c++20 -O2 -static -municode -Wall -Wextra -Werror -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601"
$CXX $FLAGS -mwindows -DBARE_PICTURE="$root/resources/background.bmp" "$here/bare.cpp" -o "$out/bare.exe"
$CXX $FLAGS "$here/bench.cpp" -o "$out/bench.exe" -lpsapi -lgdi32

# Fixtures and the staged program folders.
python3 "$here/fixtures.py" "$out/fixtures" small=102400 medium=1048576 large=20971520
for size in small medium large; do
    mkdir -p "$out/stage/$size"
    cp "$program" "$out/stage/$size/Кварнедо.exe"
    cp "$out/fixtures/$size.txt" "$out/stage/$size/Описание.txt"
    cp data/операторы.txt "$out/stage/$size/"
done

# The tests' own prefix and set-up; its wineserver stays up (warm) for the whole run.
. "$WINE_BUILD/tests/wine-env.sh"
log="$out/wine.log"
: >"$log"
trap '"$WINE_BUILD/tests/wine-prefix.sh" stop' EXIT
"$WINE_BUILD/tests/wine-prefix.sh"

win() { echo "Z:$1" | tr / '\\'; }
status=0
rm -f "$out/results.txt"
"$WINE" "$out/bench.exe" "$(win "$root/$out")" "$(win "$root/resources/background.bmp")" "$runs" \
    "$(win "$root/$out/results.txt")" "$@" >>"$log" 2>&1 </dev/null || status=$?
"$WINE" --version >"$out/wine-version.txt" 2>&1 </dev/null || true
echo "Кварнедо against the bare floor: $WINE_BUILD under $WINE ($(cat "$out/wine-version.txt")),"
echo "$(nproc) CPUs, $(sed -n '/^model name/{s/^[^:]*: //p;q}' /proc/cpuinfo)"
cat "$out/results.txt" 2>/dev/null || echo "no results; see $log and $out/results.txt.log" >&2
exit $status
