#!/usr/bin/env bash
# The ESC/P mode's peak memory against hostile input: lines ended by a
# carriage return alone ("ABCDEFGHIJ\r" over and over) all print on one place
# of one page. Measured at 10, 100 and 1,000 MB (KVALON_ESCP_SIZES to choose),
# planning alone and printing into the PDF printer; the memory must stay flat
# with the input. Then the PDF of 300,000 tiny pictures (one dot each, on
# 300 pages): its size against the report's. As root, the same input through
# the office queue's backend (-o kvalon-escp=1) on a scheduler of its own
# (scripts/print-server.sh): the backend's peak memory per job.
set -euo pipefail
build=$(cd "${1:-build-bench}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
program="$build/kvalon-p"
work=$(mktemp -d /tmp/kvalon-escp-memory.XXXXXX)
# The backend runs as lp: it must reach the reports and its wrapper.
chmod 0755 "$work"
server_started=
cleanup() {
    if [ -n "$server_started" ]; then "$here/print-server.sh" stop "$work/server" || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work"

measure() { # prints "status seconds kilobytes" of one run
    local status=0
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || status=$?
    echo "$status $(tail -n 1 "$work/time")"
}

sizes=${KVALON_ESCP_SIZES:-10 100 1000}
hostile() { # writes MB megabytes of CR-only lines to FILE
    python3 -c '
import sys
line = b"ABCDEFGHIJ\r"
chunk = line * (1048576 // len(line) + 1)
out = sys.stdout.buffer
for _ in range(int(sys.argv[1])):
    out.write(chunk)
' "$1" >"$2"
}

for mb in $sizes; do
    hostile "$mb" "$work/cr.txt"
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

if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/cupsd ] || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
    echo "office queue: skipped (needs root, cupsd and cups-pdf)"
    exit 0
fi
. "$here/measured-backend.sh"
measured_backend "$work" "$build"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$here/print-server.sh" start "$work/server" "$port" Remote "$work/kvalon"
server_started=1
export CUPS_SERVER=127.0.0.1:$port
"$program" --setup-queue Kvalon Remote >/dev/null
jobs=0
for mb in $sizes; do
    hostile "$mb" "$work/cr.txt"
    chmod 0644 "$work/cr.txt"
    lp -h "$CUPS_SERVER" -d Kvalon -o raw -o kvalon-escp=1 "$work/cr.txt" >/dev/null
    jobs=$((jobs + 1))
    for _ in $(seq 1 1200); do
        [ "$(grep -cE '^[0-9]+$' "$work/memory")" -ge "$jobs" ] && break
        sleep 0.5
    done
    kb=$(grep -E '^[0-9]+$' "$work/memory" | tail -n 1)
    printf '%5d MB of CR-only lines through the office queue: backend peak %d MB\n' \
        "$mb" $((kb / 1024))
    rm -f "$work/cr.txt"
done
