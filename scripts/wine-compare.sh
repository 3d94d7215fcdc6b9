#!/usr/bin/env bash
# Runs the Windows build under Wine over a corpus of reports beside the Linux
# build and compares what they give: the --plan lines and exit status, the
# plan-only action's TMPPRNT1.TMP, and the PDF printer's pages (every word
# and its position, as pdftotext -bbox reads them).
#
#   scripts/wine-compare.sh LINUX_PROGRAM WINDOWS_PROGRAM [REPORT...]
#
# Wine gets a prefix of its own in a fresh folder, removed at the end; no
# window is shown. Prints one line per difference and "N passed, N failed".
set -uo pipefail
linux=$1
windows=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then
    set -- "$root"/samples/*.txt "$root"/fuzz/corpus/fuzz_print_source/*
fi
if [ ! -f "$windows" ]; then
    echo "$windows is missing: make windows builds it" >&2
    exit 1
fi
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all KVALON_NO_WINDOWS=1
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    wineserver -k >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$WINEPREFIX" "$work/home"
# Wine offers the fonts of this machine's user too: a home of its own keeps a
# CourierCyr installed here by the Linux build out of the Windows system.
wine() { env -u XDG_DATA_HOME HOME="$work/home" wine "$@"; }
# One server for every run: a start after the first takes a fraction of a second.
wineserver -p >/dev/null 2>&1
wine "$windows" --version >/dev/null 2>&1

passed=0
failed=0
check() { # NAME LINUX_FILE WINDOWS_FILE
    if cmp -s "$2" "$3"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "DIFFERS: $1"
        diff "$2" "$3" | head -5
    fi
}
# Words and positions; the creation time is the run's own, and so is the
# name of standard input's copy in the title.
words() {
    pdftotext -bbox "$1" - 2>/dev/null | grep -v CreationDate |
        sed 's/kvalon-p-kvp[^<]*</kvalon-p-kvp…</'
}

# Standard input is the file $input when set (bytes as they are).
run_both() { # TAG ARGS... (the report is the last, relative to the side's folder)
    local tag=$1
    shift
    run_sides "$tag" "${@: -1}" "${@: -1}" "${@:1:$#-1}"
}
run_sides() { # TAG LINUX_REPORT WINDOWS_REPORT ARGS... (the report's name differs)
    local tag=$1 linux_report=$2 windows_report=$3
    shift 3
    (cd "$work/linux" && "$linux" "$@" "$linux_report" <"${input:-/dev/null}" >"$work/$tag.linux" 2>&1
     echo "status $?" >>"$work/$tag.linux")
    (cd "$work/windows" && wine "$windows" "$@" "$windows_report" <"${input:-/dev/null}" 2>&1 |
        tr -d '\r' >"$work/$tag.windows"
     echo "status ${PIPESTATUS[0]}" >>"$work/$tag.windows")
    check "$tag" "$work/$tag.linux" "$work/$tag.windows"
}
compare_pdfs() { # TAG: out.pdf of both sides, word for word
    if [ -f "$work/linux/out.pdf" ]; then
        words "$work/linux/out.pdf" >"$work/words.linux"
        words "$work/windows/out.pdf" >"$work/words.windows"
        check "pdf words $1" "$work/words.linux" "$work/words.windows"
    fi
    rm -f "$work"/linux/out.pdf "$work"/windows/out.pdf
}

for report in "$@"; do
    name=$(basename "$report")
    rm -rf "$work/linux" "$work/windows"
    mkdir -p "$work/linux" "$work/windows"
    cp "$report" "$work/linux/$name"
    cp "$report" "$work/windows/$name"
    for language in "" --escp; do
        tag="$name${language:+ $language}"
        KVALON_PDF=plan.pdf run_both "plan $tag" --plan $language "$name"
        rm -f "$work"/linux/TMPPRNT1.TMP "$work"/windows/TMPPRNT1.TMP
        KVALON_PDF=plan.pdf run_both "plan-only $tag" $language "$name" 1
        if [ -f "$work/linux/TMPPRNT1.TMP" ]; then
            check "TMPPRNT1.TMP $tag" "$work/linux/TMPPRNT1.TMP" "$work/windows/TMPPRNT1.TMP"
        fi
        run_both "pdf $tag" --pdf out.pdf $language "$name"
        compare_pdfs "$tag"
    done
done
# The ways a DOS caller on Windows names a report: standard input (binary
# bytes, Epson commands among them), a Cyrillic name with blanks, a path
# with a drive letter and backslashes (Wine's Z: is the root here). And a
# failure: told in one line on standard error with its status, no box.
rm -rf "$work/linux" "$work/windows"
mkdir -p "$work/linux" "$work/windows"
for language in "" --escp; do
    sample=$root/samples/sample-report.txt
    [ -n "$language" ] && sample=$root/samples/escp-report.txt
    tag="stdin${language:+ $language}"
    input=$sample KVALON_PDF=plan.pdf run_both "plan $tag" --plan $language -
    input=$sample run_both "pdf $tag" --pdf out.pdf $language -
    compare_pdfs "$tag"
done
cyrillic="Отчет за май 2026.txt"
cp "$root/samples/sample-report.txt" "$work/linux/$cyrillic"
cp "$root/samples/sample-report.txt" "$work/windows/$cyrillic"
KVALON_PDF=plan.pdf run_both "plan cyrillic name" --plan "$cyrillic"
run_both "pdf cyrillic name" --pdf out.pdf "$cyrillic"
compare_pdfs "cyrillic name"
drive_path="Z:$(printf '%s' "$work/windows/$cyrillic" | tr / '\\')"
KVALON_PDF=plan.pdf run_sides "plan drive letter" "$work/linux/$cyrillic" "$drive_path" --plan
run_sides "pdf drive letter" "$work/linux/$cyrillic" "$drive_path" --pdf out.pdf
compare_pdfs "drive letter"
mkdir -p "$work/linux/папка" "$work/windows/папка"
KVALON_PDF=plan.pdf run_both "folder as report" --plan "папка"
KVALON_PDF=plan.pdf run_both "missing report" --plan "Липсващ.txt"
if grep -q '^status 0$' "$work/missing report.windows" ||
    ! grep -q '^Kvalon-P: .*Липсващ.txt$' "$work/missing report.windows"; then
    failed=$((failed + 1))
    echo "DIFFERS: a missing report is not told on standard error with a status"
fi

# A watched folder is Linux only: said so, with the command line's status.
(cd "$work/windows" && wine "$windows" --watch spool 2>&1 | tr -d '\r' >"$work/watch.windows"
 echo "status ${PIPESTATUS[0]}" >>"$work/watch.windows")
if grep -q 'не се поддържа под Windows' "$work/watch.windows" &&
    grep -q '^status 2$' "$work/watch.windows"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "DIFFERS: --watch is not refused with status 2"
    head -3 "$work/watch.windows"
fi

# The prefix's system had no CourierCyr: the first print put the program's
# copy into its fonts folder and registered it (the registry is on the disk
# once the server has ended).
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
if cmp -s "$(dirname "$windows")/crcn.ttf" "$WINEPREFIX/drive_c/windows/Fonts/crcn.ttf" &&
    grep -q '^"CourierCyr (TrueType)"="crcn.ttf"' "$WINEPREFIX/system.reg"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "DIFFERS: the font is not installed in the prefix's fonts folder"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
