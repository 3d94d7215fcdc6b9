#!/usr/bin/env bash
# The Windows build printing on Windows printers under Wine, whose printers
# are the queues of a private CUPS scheduler (scripts/print-server.sh): a
# report printed on the default printer reaches the queue with the Linux
# build's words and as many frame lines as its PDF has; a PostScript
# document goes to the printer byte for byte; a printer that takes no jobs
# and one there is no such are told, with a failing exit status.
#
#   scripts/wine-spooler.sh LINUX-KVALON-P WINDOWS-KVALON-P.EXE
set -euo pipefail
linux=$(realpath "${1:?the Linux build}")
windows=$(realpath "${2:?the Windows build}")
scripts=$(cd "$(dirname "$0")" && pwd)
samples="$scripts/../samples"
work=$(mktemp -d /tmp/kvalon-wine-spooler.XXXXXX)
chmod 0755 "$work" # the scheduler's filters and backends run as lp
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    "$scripts/print-server.sh" stop "$work/cups" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
"$scripts/print-server.sh" start "$work/cups" "$port" PDF >/dev/null
export CUPS_SERVER="127.0.0.1:$port"
mkdir -p "$work/got" && chmod 0777 "$work/got"
lpadmin -p Capture -E -v "kvalon-test:/keep$work/got/job" 2>/dev/null
lpadmin -p Closed -E -v kvalon-test:/fail 2>/dev/null
cupsreject Closed
lpadmin -d Capture >/dev/null 2>&1

export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all KVALON_NO_WINDOWS=1 \
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
mkdir -p "$HOME" "$WINEPREFIX" "$work/windows"
cp "$windows" "$(dirname "$windows")/crcn.ttf" "$samples/sample-report.txt" "$work/windows/"
printf '%%!PS-Adobe-3.0\n/Courier findfont 12 scalefont setfont\n72 720 moveto (Kvalon-P raw) show showpage\n' \
    >"$work/windows/LETTER.PS"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# Runs the Windows build in its folder; its messages in $work/said.
run() {
    (cd "$work/windows" && wine kvalon-p.exe "$@" 2>&1 | tr -d '\r' >"$work/said"; exit "${PIPESTATUS[0]}")
}
# Waits until the queue Capture has ended every job and kept the last one.
received() {
    for _ in $(seq 1 300); do
        if [ -s "$work/got/job" ] && [ -z "$(lpstat -o Capture 2>/dev/null)" ]; then
            return 0
        fi
        sleep 0.2
    done
    return 1
}
run --version >/dev/null 2>&1 || true # the prefix is made on the first start

if ! run sample-report.txt; then
    fail "the report was not printed: $(cat "$work/said")"
elif ! received; then
    fail "the queue got nothing"
else
    ps2pdf "$work/got/job" "$work/got.pdf"
    KVALON_PDF="$work/linux.pdf" "$linux" "$samples/sample-report.txt"
    for side in got linux; do
        pdftotext "$work/$side.pdf" - | tr -s ' \n\f' '\n\n\n' >"$work/$side.words"
    done
    diff "$work/linux.words" "$work/got.words" >/dev/null || fail "the words differ from the Linux build's"
    # Frame lines: the PDF's strokes, and the lines Wine's PostScript driver wrote.
    qpdf --qdf --object-streams=disable "$work/linux.pdf" "$work/linux-qdf.pdf"
    linux_lines=$(grep -a -c -E '^[0-9.]+ [0-9.]+ m [0-9.]+ [0-9.]+ l$' "$work/linux-qdf.pdf" || true)
    got_lines=$(grep -a -c -E '^-?[0-9]+ -?[0-9]+ lineto$' "$work/got/job" || true)
    [ "$linux_lines" -gt 0 ] && [ "$linux_lines" -eq "$got_lines" ] ||
        fail "frame lines: $got_lines arrived, the Linux PDF has $linux_lines"
fi

rm -f "$work/got/job"
if ! run LETTER.PS; then
    fail "the PostScript document was not passed on: $(cat "$work/said")"
elif ! received || ! cmp -s "$work/got/job" "$work/windows/LETTER.PS"; then
    fail "the PostScript document did not arrive as it was"
fi

if run --printer Closed sample-report.txt; then
    fail "a printer that takes no jobs was not told"
fi
grep -q "Печатът не завърши: грешка на принтера Closed" "$work/said" ||
    fail "the failing printer's message: $(cat "$work/said")"

if run --printer Nowhere sample-report.txt; then
    fail "a printer there is no such was taken"
fi
grep -q "Nowhere (няма такава опашка за печат)" "$work/said" ||
    fail "the unknown printer's message: $(cat "$work/said")"

[ "$failures" -eq 0 ] && echo "The Windows build prints on Wine's printers"
exit $((failures > 0))
