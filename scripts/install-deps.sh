#!/usr/bin/env bash
# Installs the Debian 12 packages a job needs, skipping those already present:
#
#   scripts/install-deps.sh run    # building and running the program (make run)
#   scripts/install-deps.sh test   # that, and the tests and developer tools
#                                  # (make test, format-check, sanitize, fuzz,
#                                  # bench, deb; CI) -- the default
#   scripts/install-deps.sh windows # cross-building the Windows program
#                                  # (make windows) and running it under Wine
#   scripts/install-deps.sh emulators # Debian's DOSBox, for printing from it
#                                  # (make test DOSBOX_TESTS=1)
#
# The check is one dpkg query, so a machine that has everything is told so at
# once and apt is not run.
set -euo pipefail

# The compiler and build tools, Qt, libcups, HarfBuzz and libdeflate for the
# PDF writer, and what builds the font (python3 from Liberation Mono); Qt's
# platform plugins and translations for the windows.
run_packages=(
    cmake ninja-build g++ pkgconf make
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
    libcups2-dev libharfbuzz-dev libdeflate-dev
    python3 fonts-liberation2 fontconfig
)
# GoogleTest, Google Benchmark, clang with the libFuzzer runtime and
# clang-format, a CUPS scheduler with the PDF queue the tests print to,
# poppler, qpdf and Ghostscript to read the PDFs back, a virtual X server for
# the window pictures, the Debian packaging tools, and systemd's own tools
# that check the service units (systemd-analyze, systemd-escape).
test_packages=(
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev clang-format-14
    cups cups-client cups-bsd cups-filters printer-driver-cups-pdf cups-ipp-utils dbus-daemon
    poppler-utils qpdf ghostscript
    xvfb xauth time bc
    dpkg-dev man-db systemd
)

# Debian's MinGW-w64 compiler (POSIX threads) with its zlib, Wine to run the
# program here, NSIS for the installer; the font is built as for Linux.
windows_packages=(
    cmake ninja-build make python3 fonts-liberation2
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 nsis
    poppler-utils
)

# DOSBox, run without a window by scripts/try-dosbox.sh; poppler reads back
# the PDFs it printed.
emulator_packages=(dosbox poppler-utils python3)

job=${1:-test}
case "$job" in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
windows) packages=("${windows_packages[@]}") ;;
emulators) packages=("${emulator_packages[@]}") ;;
*)
    echo "usage: $0 [run|test|windows|emulators]" >&2
    exit 2
    ;;
esac

declare -A installed=()
while read -r state package; do
    [ "$state" = ii ] && installed[$package]=1
done < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for package in "${packages[@]}"; do
    [ -n "${installed[$package]:-}" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
