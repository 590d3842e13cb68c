#!/bin/sh
# tools/wine-select.sh with stand-ins for the 32-bit loader: only an "Exec format
# error" from the kernel picks the 64-bit build; any other failure stops the caller
# with Wine's own message.
# Usage: wine-select-test.sh SOURCE_DIR WORK_DIR
set -u
select="$1/tools/wine-select.sh" work="$2"
failures=0
rm -rf "$work"
mkdir -p "$work"

# A 32-bit ELF header for a machine no kernel knows: execve answers ENOEXEC,
# as it does for an i386 program on a kernel without 32-bit support.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\231\231\001\000\000\000' >"$work/foreign"
head -c 64 /dev/zero >>"$work/foreign"
printf '#!/bin/sh\necho wine-8.0\n' >"$work/working"
printf '#!/bin/sh\necho "wine: could not load kernel32.dll, status c0000135" >&2\nexit 1\n' >"$work/broken"
chmod +x "$work/foreign" "$work/working" "$work/broken"

# check NAME LOADER STATUS EXPECTED: sources the selection in a shell of its own with
# LOADER as the 32-bit loader; STATUS is that shell's expected exit status, EXPECTED
# a text its output must hold.
check() {
    name=$1 loader=$2 status=$3 expected=$4
    output=$(WINE32_LOADER="$loader" sh -c '. "$1"; echo "chose $WINE_PRESET $WINE_BUILD ${WINELOADER:-}"' \
                 sh "$select" 2>&1)
    got=$?
    if [ "$got" -eq "$status" ] && printf '%s\n' "$output" | grep -qF -- "$expected"; then
        echo "ok: $name"
    else
        echo "FAILED: $name: exit status $got (expected $status), output without \"$expected\":"
        printf '%s\n' "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
}

check "working 32-bit Wine: the 32-bit build" "$work/working" 0 "chose default build"
check "kernel without 32-bit support: the 64-bit build under wine64" "$work/foreign" 0 \
    "chose x64 build-x64 /usr/lib/wine/wine64"
check "broken 32-bit Wine: stops with Wine's message" "$work/broken" 1 \
    "could not load kernel32.dll, status c0000135"
check "broken 32-bit Wine: says what to do" "$work/broken" 1 "apt-get install --reinstall wine32:i386"
check "missing 32-bit Wine: stops" "$work/missing" 1 "32-bit Wine does not start"
[ "$failures" -eq 0 ]
