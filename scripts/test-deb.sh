#!/usr/bin/env bash
# Installs the Debian packages `make deb` built, the way a user would, and
# checks them: first kvalon-p-server alone, as on a print server without a
# desktop (its dependencies name no window library, none of its programs
# loads one, and they run with Qt and X hidden from them): the command is on
# the PATH, says its version, prints a report into a PDF in the font from its
# own folder (from a file and from standard input), plans it, has its manual
# page and its CUPS backend, and says that the windows need the desktop
# package; then kvalon-p, which hands `kvalon-p` without a report to the
# windows; then removes both. Prints the installed size of each.
# Needs root; the CI runs it after `make deb`.
#
#   scripts/test-deb.sh [SERVER.deb DESKTOP.deb]   # default: the newest in out/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
server_deb=${1:-$(ls -t "$root"/out/kvalon-p-server_*.deb 2>/dev/null | head -n 1)}
desktop_deb=${2:-$(ls -t "$root"/out/kvalon-p_*.deb 2>/dev/null | head -n 1)}
if [ -z "$server_deb" ] || [ -z "$desktop_deb" ] || [ ! -f "$server_deb" ] || [ ! -f "$desktop_deb" ]; then
    echo "test-deb: no packages; run make deb first" >&2
    exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "test-deb: skipped, installing a package needs root" >&2
    exit 0
fi
for package in kvalon-p kvalon-p-server; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        echo "test-deb: skipped, $package is already installed here and would be replaced" >&2
        exit 0
    fi
done

work=$(mktemp -d)
chmod 0755 "$work"
cleanup() {
    dpkg -r kvalon-p >/dev/null 2>&1 || true
    dpkg -r kvalon-p-server >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "test-deb: FAILED: $*" >&2
    exit 1
}

install_package() {
    # Slim images leave out manual pages (path-exclude under
    # /etc/dpkg/dpkg.cfg.d); an option on the command line comes after those
    # and lets ours in.
    if ! dpkg --path-include='/usr/share/man/man1/kvalon-p.1.gz' -i "$1" >>"$work/dpkg.log" 2>&1; then
        # Missing run-time libraries: apt completes the installation.
        DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$work/dpkg.log" 2>&1 ||
            { cat "$work/dpkg.log" >&2; fail "$(basename "$1") does not install"; }
    fi
}

# The installed command alone, without anything of the build's environment.
bare=(env -i PATH=/usr/bin:/bin HOME="$work" XDG_DATA_HOME="$work/data")
installed() {
    "${bare[@]}" "$@"
}

window_libraries='libQt|libX11|libxcb|libGL|libwayland'

# As on a machine without them: every window library hidden behind an empty
# file, in a mount namespace of its own. Without the rights for that, the
# command runs as it is (the dependencies and ldd have been checked).
without_windows() {
    if unshare --mount true 2>/dev/null; then
        unshare --mount sh -c '
            for library in /usr/lib/x86_64-linux-gnu/libQt6*.so.* \
                           /usr/lib/x86_64-linux-gnu/libX11.so.* \
                           /usr/lib/x86_64-linux-gnu/libxcb*.so.*; do
                [ -f "$library" ] && [ ! -L "$library" ] && mount --bind /dev/null "$library"
            done
            exec "$@"' sh "$@"
    else
        "$@"
    fi
}

# --- The server package alone -------------------------------------------
install_package "$server_deb"
depends=$(dpkg-query -W -f='${Depends}' kvalon-p-server)
echo "$depends" | grep -Eqi 'qt|libx|xcb|wayland' && fail "kvalon-p-server depends on a window library: $depends"
echo "$depends" | grep -q 'libcups2' || fail "kvalon-p-server does not depend on libcups2: $depends"
for file in $(dpkg -L kvalon-p-server); do
    [ -f "$file" ] && [ ! -L "$file" ] && head -c 4 "$file" | grep -q 'ELF' || continue
    if ldd "$file" | grep -Eq "$window_libraries"; then
        fail "$file loads a window library: $(ldd "$file" | grep -E "$window_libraries" | head -n 1)"
    fi
done

[ "$(installed sh -c 'command -v kvalon-p')" = /usr/bin/kvalon-p ] ||
    fail "kvalon-p is not on the PATH"
[ "$(readlink -f /usr/bin/kvalon-p)" = /usr/lib/kvalon-p/kvalon-p ] ||
    fail "/usr/bin/kvalon-p does not lead to the program folder"
[ -f /usr/lib/kvalon-p/crcn.ttf ] || fail "crcn.ttf is not beside the program"
# CUPS runs a backend of mode 0755 as its own unprivileged user.
[ "$(readlink -f /usr/lib/cups/backend/kvalon)" = /usr/lib/kvalon-p/kvalon ] ||
    fail "CUPS's backend folder has no link kvalon to the print-server backend"
[ "$(stat -c %a /usr/lib/kvalon-p/kvalon)" = 755 ] || fail "the backend is not of mode 0755"
without_windows /usr/lib/cups/backend/kvalon | grep -q '^direct kvalon ' ||
    fail "the backend does not name its device to CUPS"

# The watched folder as a service: the user unit and its system twin, each
# one systemd reads without a complaint of its own.
for unit in /usr/lib/systemd/user/kvalon-p-watch@.service \
            /usr/lib/systemd/system/kvalon-p-watch@.service; do
    [ -f "$unit" ] || fail "$unit is not installed"
    grep -q '^ExecStart=kvalon-p --watch %f $KVALON_WATCH_OPTIONS$' "$unit" || fail "$unit does not watch its instance"
done

version=$(installed kvalon-p --version)
# The version the build was configured with.
expected=$(sed -n 's/.*version_text = "\(.*\)";/kvalon-p \1/p' "$build/generated/build_info.h")
[ "$version" = "$expected" ] || fail "kvalon-p --version said: $version, not $expected"

sample="$root/samples/sample-report.txt"
without_windows "${bare[@]}" kvalon-p --pdf "$work/from-file.pdf" "$sample" ||
    fail "the batch print failed"
pages=$(pdfinfo "$work/from-file.pdf" | awk '/^Pages:/ { print $2 }')
[ "${pages:-0}" -ge 1 ] || fail "the printed PDF has no pages"
pdffonts "$work/from-file.pdf" | grep -q CourierCyr ||
    fail "the PDF is not set in CourierCyr from the program folder"
plan=$(without_windows "${bare[@]}" kvalon-p --pdf "$work/x.pdf" --plan "$sample") ||
    fail "the plan failed"
echo "$plan" | grep -q '^LinesPerPage=' || fail "the plan has no lines per page: $plan"

# How DOSEMU2 hands over a printer port.
without_windows "${bare[@]}" kvalon-p --pdf "$work/from-pipe.pdf" - <"$sample" ||
    fail "printing standard input failed"
piped_pages=$(pdfinfo "$work/from-pipe.pdf" | awk '/^Pages:/ { print $2 }')
[ "$piped_pages" = "$pages" ] || fail "standard input gave $piped_pages pages, the file $pages"

# The windows are not here: said in the program's words, status 2.
status=0
said=$(installed QT_QPA_PLATFORM=offscreen kvalon-p 2>&1) || status=$?
[ "$status" = 2 ] || fail "kvalon-p without a report ended with $status: $said"
echo "$said" | grep -q 'изискват пакета за работен плот kvalon-p' ||
    fail "kvalon-p without a report said: $said"

manual=$(man -w kvalon-p 2>/dev/null) || fail "man -w kvalon-p finds no manual page"
[ "$manual" = /usr/share/man/man1/kvalon-p.1.gz ] || fail "the manual page is $manual"
server_size=$(dpkg-query -W -f='${Installed-Size}' kvalon-p-server)

# --- The desktop package beside it ---------------------------------------
install_package "$desktop_deb"
dpkg-query -W -f='${Depends}' kvalon-p | grep -q 'kvalon-p-server (= ' ||
    fail "kvalon-p does not depend on kvalon-p-server"
[ -x /usr/lib/kvalon-p/kvalon-p-desktop ] || fail "the windows' program is not in the program folder"
[ -f /usr/share/applications/kvalon-p.desktop ] || fail "no desktop entry"
# --open belongs to the windows: the answer comes from their program.
status=0
said=$(installed QT_QPA_PLATFORM=offscreen KVALON_PDF="$work/x.pdf" kvalon-p --open "$work/none.txt" 2>&1) ||
    status=$?
[ "$status" = 4 ] && [ "$said" = "Kvalon-P: Липсва файл $work/none.txt" ] ||
    fail "kvalon-p --open with the windows installed ended with $status: $said"
desktop_size=$(dpkg-query -W -f='${Installed-Size}' kvalon-p)

dpkg -r kvalon-p >/dev/null
[ ! -e /usr/lib/kvalon-p/kvalon-p-desktop ] || fail "the windows' program is left after dpkg -r kvalon-p"
installed kvalon-p --pdf "$work/again.pdf" "$sample" || fail "the batch print failed without the windows"
dpkg -r kvalon-p-server >/dev/null
[ ! -e /usr/bin/kvalon-p ] && [ ! -e /usr/lib/kvalon-p/kvalon-p ] &&
    [ ! -L /usr/lib/cups/backend/kvalon ] ||
    fail "files are left after dpkg -r"
echo "test-deb: $(basename "$server_deb") installs alone (no window library), prints $pages pages, has its manual page;" \
    "$(basename "$desktop_deb") adds the windows; both go away." \
    "Installed sizes: kvalon-p-server $server_size KiB, kvalon-p $desktop_size KiB"
