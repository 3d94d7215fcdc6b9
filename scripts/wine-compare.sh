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
mkdir -p "$WINEPREFIX"
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
# Words and positions; the creation time is the run's own.
words() { pdftotext -bbox "$1" - 2>/dev/null | grep -v CreationDate; }

run_both() { # TAG ARGS... (the report is the last, relative to the side's folder)
    local tag=$1
    shift
    (cd "$work/linux" && "$linux" "$@" >"$work/$tag.linux" 2>&1; echo "status $?" >>"$work/$tag.linux")
    (cd "$work/windows" && wine "$windows" "$@" 2>&1 | tr -d '\r' >"$work/$tag.windows"
     echo "status ${PIPESTATUS[0]}" >>"$work/$tag.windows")
    check "$tag" "$work/$tag.linux" "$work/$tag.windows"
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
        if [ -f "$work/linux/out.pdf" ]; then
            words "$work/linux/out.pdf" >"$work/words.linux"
            words "$work/windows/out.pdf" >"$work/words.windows"
            check "pdf words $tag" "$work/words.linux" "$work/words.windows"
        fi
        rm -f "$work"/linux/out.pdf "$work"/windows/out.pdf
    done
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
