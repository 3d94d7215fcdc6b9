#!/usr/bin/env bash
# The Windows installer under Wine, in a prefix (and a home) of its own: a
# silent install (/S) puts the program, its font, licence and documentation
# into the 64-bit Program Files, the font into the fonts folder with its
# registration, a Start-menu folder and an uninstaller with its registry
# entry, and the installed program runs; a silent uninstall, once the prefix
# has restarted (what Windows leaves for a restart goes then), leaves no file
# and no registry value behind that was not there before.
#
#   scripts/wine-installer.sh out/windows/kvalon-p-setup.exe
set -euo pipefail
setup=$(realpath "${1:?the installer}")
work=$(mktemp -d /tmp/kvalon-wine-installer.XXXXXX)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
# No menu entries on the host: the Start menu stays inside the prefix.
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all \
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
mkdir -p "$HOME" "$WINEPREFIX"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Every file of the prefix, and the registry lines that name us. The user's
# temporary folder is the system's to empty: the uninstaller runs from a copy
# of itself there, which Windows deletes at a restart (Wine its file, not
# always its folder).
snapshot() {
    (cd "$WINEPREFIX" && find . -path ./dosdevices -prune -o -path './drive_c/users/*/Temp/*' \
        -prune -o -print | sort) >"$work/$1.files"
    cat "$WINEPREFIX"/*.reg | tr -d '\r' | grep -i -E 'kvalon|couriercyr|crcn' >"$work/$1.registry" || true
}

wineboot -i >/dev/null 2>&1
wineserver -w
snapshot before

wine "$setup" /S
wineserver -w
program="$WINEPREFIX/drive_c/Program Files/Kvalon-P"
for file in kvalon-p.exe crcn.ttf OFL.txt uninstall.exe docs/windows.md docs/dos-emulators.md; do
    [ -f "$program/$file" ] || fail "not installed: Program Files/Kvalon-P/$file"
done
cmp -s "$program/crcn.ttf" "$WINEPREFIX/drive_c/windows/Fonts/crcn.ttf" ||
    fail "the font is not in the fonts folder"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kvalon-P"
[ "$(find "$menu" -name '*.lnk' 2>/dev/null | wc -l)" -eq 2 ] || fail "no Start-menu entries in $menu"
snapshot installed
grep -q '"CourierCyr (TrueType)"="crcn.ttf"' "$work/installed.registry" || fail "the font is not registered"
grep -q 'QuietUninstallString' "$work/installed.registry" || fail "no uninstall entry"
wine "C:\\Program Files\\Kvalon-P\\kvalon-p.exe" --version >"$work/version" 2>&1 ||
    fail "the installed program does not run: $(cat "$work/version")"

wine "C:\\Program Files\\Kvalon-P\\uninstall.exe" /S
wineserver -w
wineboot -r >/dev/null 2>&1
wineserver -w
snapshot after
if ! diff "$work/before.files" "$work/after.files" >"$work/files.diff"; then
    fail "files left or gone after the uninstall:"
    cat "$work/files.diff" >&2
fi
if ! diff "$work/before.registry" "$work/after.registry" >"$work/registry.diff"; then
    fail "registry entries left after the uninstall:"
    cat "$work/registry.diff" >&2
fi
[ "$failures" -eq 0 ] && echo "The installer installs and uninstalls cleanly under Wine"
exit $((failures > 0))
