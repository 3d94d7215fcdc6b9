#!/usr/bin/env bash
# Debian's DOSBox against a watched folder, as a user sets it up: the folder
# C:\PRINT that a DOS program writes its reports into is watched by
# `kvalon-p --pdf PDFS --watch`. DOSBox runs without a window (SDL's dummy
# drivers) and its shell copies a Cyrillic report (code page MIK) into the
# folder and writes a second one with ECHO, then exits. Each must come out
# once as a PDF with its words, and both files must be in PRINT\printed.
#   scripts/try-dosbox.sh [PROGRAM]     (PROGRAM: build/kvalon-p by default)
# Exit status 0 when every check held; what was seen is printed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../build/kvalon-p}
command -v dosbox >/dev/null || {
    echo "dosbox is not installed (scripts/install-deps.sh emulators)" >&2
    exit 2
}
work=$(mktemp -d /tmp/kvalon-dosbox.XXXXXX)
watcher=
cleanup() {
    if [ -n "$watcher" ]; then
        kill "$watcher" 2>/dev/null || true
        wait "$watcher" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
drive="$work/drive"
mkdir -p "$drive/PRINT" "$work/pdfs"
export HOME="$work" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state" KVALON_PDF=
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# "Отчет ДОСБОКС" and "Сума 12.50" in MIK, as a Bulgarian DOS program writes them.
python3 - "$drive/REPORT.TXT" <<'PY'
import sys
def mik(text):
    return bytes(0x80 + ord(c) - 0x410 if 0x410 <= ord(c) <= 0x44f else ord(c) for c in text)
with open(sys.argv[1], "wb") as out:
    out.write(mik("Отчет ДОСБОКС\r\nСума 12.50\r\n"))
PY

"$program" --pdf "$work/pdfs" --watch "$drive/PRINT" --settle 0.5 2>"$work/log" &
watcher=$!
for _ in $(seq 100); do
    grep -q 'Наблюдава се папка' "$work/log" && break
    sleep 0.1
done

started=$(date +%s%N)
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 dosbox \
    -c "mount c $drive" -c "c:" \
    -c "copy REPORT.TXT PRINT\\REPORT.PRN" \
    -c "echo Second report from the DOS shell> PRINT\\ECHO.TXT" \
    -c "exit" >"$work/dosbox.log" 2>&1

printed() { [ -f "$drive/PRINT/printed/REPORT.PRN" ] && [ -f "$drive/PRINT/printed/ECHO.TXT" ]; }
for _ in $(seq 200); do
    printed && break
    sleep 0.1
done
took=$((($(date +%s%N) - started) / 1000000))
kill -TERM "$watcher"
wait "$watcher" 2>/dev/null || true
watcher=

failed=0
check() {
    if eval "$2"; then echo "ok: $1"; else
        echo "FAILED: $1"
        failed=1
    fi
}
echo "The watcher's log:"
sed 's/^/  /' "$work/log"
pdfs=$(cd "$work/pdfs" && ls | tr '\n' ' ')
check "both files printed and moved into PRINT\\printed" printed
check "one PDF each, none twice (seen: $pdfs)" '[ "$pdfs" = "ECHO.pdf REPORT.pdf " ]'
check "the copied report's Cyrillic words in its PDF" \
    'pdftotext "$work/pdfs/REPORT.pdf" - | grep -q "Отчет ДОСБОКС"'
check "the echoed line in its PDF" \
    'pdftotext "$work/pdfs/ECHO.pdf" - | grep -q "Second report from the DOS shell"'
check "one log line a job" '[ "$(grep -c ": отпечатан, 1 стр., към " "$work/log")" = 2 ]'
echo "From DOSBox's start to both jobs printed: $took ms"
exit $failed
