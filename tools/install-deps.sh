#!/bin/sh
# Installs the Debian packages that building, running and testing need, if missing.
# Usage: install-deps.sh PACKAGE...
set -e
missing=""
for package in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing="$missing $package"
done
[ -n "$missing" ] || exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "Missing packages:$missing" >&2
    echo "This set-up needs a Debian-based system with apt-get; install them by hand." >&2
    exit 1
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing:$missing"
case "$missing" in
*:i386*)
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386 ;;
esac
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
