#!/usr/bin/env bash
# The print-server backend as CUPS starts it for every office job: from its
# start to the first byte of its PDF sent to the destination queue, against
# the batch print of the same report into a PDF (start to exit, measured by
# the caller) and the batch print onto the same queue. On a scheduler of its
# own (scripts/print-server.sh) whose queue Sink hands every job to a printer
# that takes it at once. Needs root (cupsd); says so and stops without it.
#
#   scripts/bench-backend-start.sh BUILD RUNS REPORT BATCH_PDF_MICROSECONDS
set -euo pipefail
build=$(cd "$1" && pwd)
runs=$2
report=$3
batch_pdf=$4
here=$(cd "$(dirname "$0")" && pwd)
echo
echo "== The backend's start to its first byte sent, against the batch print ($runs runs each)"
if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/cupsd ]; then
    echo "skipped (needs root and cupsd)"
    exit 0
fi
work=$(mktemp -d /tmp/kvalon-backend-bench.XXXXXX)
chmod 0755 "$work"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
server=127.0.0.1:$port
cleanup() {
    "$here/print-server.sh" stop "$work/server" || true
    rm -rf "$work"
}
trap cleanup EXIT
"$here/print-server.sh" start "$work/server" "$port" Remote
lpadmin -h "$server" -p Sink -E -v kvalon-test:/ok
export CUPS_SERVER=$server HOME=$work KVALON_FIRST_BYTE_PROBE=$build/bench/libkvalon_first_byte.so
timer="$build/bench/kvalon_start_to_exit"

read -r backend_min backend_median < <(env DEVICE_URI=kvalon:/Sink \
    "$timer" "$runs" /dev/null --first-byte "$build/kvalon" 1 bench REPORT 1 "" "$report" 2>/dev/null)
read -r queue_first_min queue_first_median < <("$timer" "$runs" /dev/null --first-byte \
    "$build/kvalon-p" --printer Sink "$report")
read -r queue_min queue_median < <("$timer" "$runs" /dev/null "$build/kvalon-p" --printer Sink "$report")
printf 'backend, start to first byte sent: %d us (median %d us), %.2f x the batch print into a PDF (target <= 1.0)\n' \
    "$backend_min" "$backend_median" "$(echo "$backend_min / $batch_pdf" | bc -l)"
printf 'batch print onto the same queue: first byte sent %d us (median %d us), start to exit %d us (median %d us)\n' \
    "$queue_first_min" "$queue_first_median" "$queue_min" "$queue_median"
