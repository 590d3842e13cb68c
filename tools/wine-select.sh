# Sourced by the scripts that run the program: picks the build that Wine can run
# on this machine. A kernel without 32-bit support cannot run 32-bit Wine; there
# the program is also built for 64-bit Windows and run with wine64.
# Sets WINE (the loader to call), WINE_PRESET (the CMake preset) and WINE_BUILD.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=wine WINE_PRESET=default WINE_BUILD=build
else
    WINE=/usr/lib/wine/wine64 WINE_PRESET=x64 WINE_BUILD=build-x64
    export WINELOADER="$WINE"
fi
