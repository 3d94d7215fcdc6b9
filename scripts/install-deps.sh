#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the sample run need,
# skipping those already present.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkgconf make
    qt6-base-dev qt6-translations-l10n libcups2-dev libharfbuzz-dev libdeflate-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev clang-format-14
    cups cups-client cups-bsd cups-filters printer-driver-cups-pdf cups-ipp-utils dbus-daemon
    poppler-utils qpdf ghostscript python3 python3-fonttools fonts-liberation2 fontconfig
    xvfb xauth time bc
    dpkg-dev man-db
)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
