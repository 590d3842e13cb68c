# Sourced by the scripts that run the program: picks the build that Wine can run
# on this machine. The 32-bit build runs under 32-bit Wine. Only a kernel without
# 32-bit support ("Exec format error") moves the program to its 64-bit build, run
# with wine64; any other failure of 32-bit Wine stops the calling script.
# Sets WINE (the loader to call), WINE_PRESET (the CMake preset) and WINE_BUILD.
# WINE32_LOADER, if set, is the 32-bit loader to try (the tests give stand-ins).
wine32_loader=${WINE32_LOADER:-/usr/lib/wine/wine}
# In a shell of its own under the C locale, so that the kernel's refusal reads alike everywhere.
if wine32_answer=$(LC_ALL=C sh -c '"$0" --version' "$wine32_loader" 2>&1 </dev/null); then
    WINE=wine WINE_PRESET=default WINE_BUILD=build
else
    case $wine32_answer in
    *"Exec format error"*)
        WINE=/usr/lib/wine/wine64 WINE_PRESET=x64 WINE_BUILD=build-x64
        export WINELOADER="$WINE" ;;
    *)
        {
            echo "32-bit Wine does not start ($wine32_loader --version):"
            echo "${wine32_answer:-(it printed nothing)}" | sed 's/^/    /'
            echo "Only a kernel that runs no 32-bit programs (\"Exec format error\") moves the program"
            echo "to its 64-bit build; this is another failure, and the 32-bit exe, the one users get,"
            echo "must run here. Repair 32-bit Wine, for instance with"
            echo "    sudo apt-get install --reinstall wine32:i386 libwine:i386"
            echo "then try again."
        } >&2
        exit 1 ;;
    esac
fi
unset wine32_loader wine32_answer
