#!/usr/bin/env bash
# The ESC/P mode's peak memory against hostile input: lines ended by a
# carriage return alone ("ABCDEFGHIJ\r" over and over) all print on one place
# of one page. Measured at 10, 100 and 1,000 MB (KVALON_ESCP_SIZES to choose),
# planning alone and printing into the PDF printer; the memory must stay flat
# with the input. Then the PDF of 300,000 tiny pictures (one dot each, on
# 300 pages): its size against the report's.
set -euo pipefail
build=${1:-build-bench}
program="$build/kvalon-p"
work=$(mktemp -d /tmp/kvalon-escp-memory.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME="$work"

measure() { # prints "status seconds kilobytes" of one run
    local status=0
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || status=$?
    echo "$status $(tail -n 1 "$work/time")"
}

for mb in ${KVALON_ESCP_SIZES:-10 100 1000}; do
    python3 -c '
import sys
line = b"ABCDEFGHIJ\r"
chunk = line * (1048576 // len(line) + 1)
out = sys.stdout.buffer
for _ in range(int(sys.argv[1])):
    out.write(chunk)
' "$mb" >"$work/cr.txt"
    for mode in plan print; do
        args=(--escp)
        [ "$mode" = plan ] && args+=(--plan)
        read -r status secs kb < <(measure env KVALON_PDF="$work/cr.pdf" "$program" "${args[@]}" "$work/cr.txt")
        printf '%5d MB of CR-only lines, %-5s: status %d, %.2f s, peak %d MB\n' \
            "$mb" "$mode" "$status" "$secs" $((kb / 1024))
    done
    rm -f "$work/cr.txt" "$work/cr.pdf"
done

python3 -c '
import sys
out = sys.stdout.buffer
for page in range(300):
    for i in range(1000):
        out.write(b"\x1bK\x01\x00\x80" + (b"\r\n" if i % 100 == 99 else b" "))
    out.write(b"\x0c")
' >"$work/dots.txt"
read -r status secs kb < <(measure env KVALON_PDF="$work/dots.pdf" "$program" --escp "$work/dots.txt")
printf '300,000 tiny pictures: status %d, report %d kB, PDF %d kB, %.2f s, peak %d MB\n' \
    "$status" $(($(stat -c %s "$work/dots.txt") / 1024)) $(($(stat -c %s "$work/dots.pdf") / 1024)) \
    "$secs" $((kb / 1024))
