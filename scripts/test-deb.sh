#!/usr/bin/env bash
# Installs the Debian package `make deb` built, the way a user would, and
# checks the installed command: it is on the PATH, says its version, prints a
# report into a PDF in the font from its own folder (from a file and from
# standard input), and has its manual page; then removes the package.
# Needs root; the CI runs it after `make deb`.
#
#   scripts/test-deb.sh [PACKAGE.deb]    # default: the newest out/kvalon-p_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
deb=${1:-$(ls -t "$root"/out/kvalon-p_*.deb 2>/dev/null | head -n 1)}
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    echo "test-deb: no package; run make deb first" >&2
    exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "test-deb: skipped, installing a package needs root" >&2
    exit 0
fi
if dpkg-query -W -f='${Status}' kvalon-p 2>/dev/null | grep -q "install ok installed"; then
    echo "test-deb: skipped, kvalon-p is already installed here and would be replaced" >&2
    exit 0
fi

work=$(mktemp -d)
chmod 0755 "$work"
cleanup() {
    dpkg -r kvalon-p >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "test-deb: FAILED: $*" >&2
    exit 1
}

# Slim images leave out manual pages (path-exclude under /etc/dpkg/dpkg.cfg.d);
# an option on the command line comes after those and lets ours in.
if ! dpkg --path-include='/usr/share/man/man1/kvalon-p.1.gz' -i "$deb" >"$work/dpkg.log" 2>&1; then
    # Missing run-time libraries: apt completes the installation.
    DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$work/dpkg.log" 2>&1 ||
        { cat "$work/dpkg.log" >&2; fail "the package does not install"; }
fi

# The installed command alone, without anything of the build's environment.
installed() {
    env -i PATH=/usr/bin:/bin HOME="$work" XDG_DATA_HOME="$work/data" "$@"
}

[ "$(installed sh -c 'command -v kvalon-p')" = /usr/bin/kvalon-p ] ||
    fail "kvalon-p is not on the PATH"
[ "$(readlink -f /usr/bin/kvalon-p)" = /usr/lib/kvalon-p/kvalon-p ] ||
    fail "/usr/bin/kvalon-p does not lead to the program folder"
[ -f /usr/lib/kvalon-p/crcn.ttf ] || fail "crcn.ttf is not beside the program"
# CUPS runs a backend of mode 0755 as its own unprivileged user.
[ "$(readlink -f /usr/lib/cups/backend/kvalon)" = /usr/lib/kvalon-p/kvalon ] ||
    fail "CUPS's backend folder has no link kvalon to the print-server backend"
[ "$(stat -c %a /usr/lib/kvalon-p/kvalon)" = 755 ] || fail "the backend is not of mode 0755"
installed /usr/lib/cups/backend/kvalon | grep -q '^direct kvalon ' ||
    fail "the backend does not name its device to CUPS"

version=$(installed kvalon-p --version)
# The version the build was configured with.
expected=$(sed -n 's/.*version_text = "\(.*\)";/kvalon-p \1/p' "$build/generated/build_info.h")
[ "$version" = "$expected" ] || fail "kvalon-p --version said: $version, not $expected"

sample="$root/samples/sample-report.txt"
installed kvalon-p --pdf "$work/from-file.pdf" "$sample" || fail "the batch print failed"
pages=$(pdfinfo "$work/from-file.pdf" | awk '/^Pages:/ { print $2 }')
[ "${pages:-0}" -ge 1 ] || fail "the printed PDF has no pages"
pdffonts "$work/from-file.pdf" | grep -q CourierCyr ||
    fail "the PDF is not set in CourierCyr from the program folder"

# How DOSEMU2 hands over a printer port.
installed kvalon-p --pdf "$work/from-pipe.pdf" - <"$sample" || fail "printing standard input failed"
piped_pages=$(pdfinfo "$work/from-pipe.pdf" | awk '/^Pages:/ { print $2 }')
[ "$piped_pages" = "$pages" ] || fail "standard input gave $piped_pages pages, the file $pages"

manual=$(man -w kvalon-p 2>/dev/null) || fail "man -w kvalon-p finds no manual page"
[ "$manual" = /usr/share/man/man1/kvalon-p.1.gz ] || fail "the manual page is $manual"
[ -f /usr/share/applications/kvalon-p.desktop ] || fail "no desktop entry"

dpkg -r kvalon-p >/dev/null
[ ! -e /usr/bin/kvalon-p ] && [ ! -e /usr/lib/kvalon-p/kvalon-p ] &&
    [ ! -L /usr/lib/cups/backend/kvalon ] ||
    fail "files are left after dpkg -r"
echo "test-deb: $(basename "$deb") installs, prints $pages pages, has its manual page, and goes away"
