#!/usr/bin/env bash
# The watched folder's figures on this machine:
#  - the time from a file's arrival, closed (renamed in whole), to its job
#    having left (its PDF written and the file moved into printed/), with
#    --settle 0.2, minimum and median of 20;
#  - jobs per minute through a watched folder onto the PDF printer: 100
#    files at once;
#  - the same onto a queue of a private scheduler (as root: the test
#    scheduler of scripts/cups-test-server.sh, its cups-pdf queue "PDF"),
#    30 files, each job followed until the queue has printed it.
#   scripts/bench-watch.sh [BUILD]
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$build" && pwd)/kvalon-p
work=$(mktemp -d /tmp/kvalon-bench-watch.XXXXXX)
watcher=
cleanup() {
    [ -n "$watcher" ] && kill "$watcher" 2>/dev/null && wait "$watcher" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work" XDG_DATA_HOME="$work/data" KVALON_PDF=
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
python3 "$here/make_bench_report.py" 3 >"$work/report.txt"

now() { date +%s%N; }

# start_watcher FOLDER OPTIONS...: a watcher on a fresh folder.
start_watcher() {
    local folder=$1
    shift
    mkdir -p "$folder" "$work/staging"
    "$program" "$@" --watch "$folder" --settle 0.2 2>>"$work/log" &
    watcher=$!
    until grep -q 'Наблюдава се папка' "$work/log" 2>/dev/null; do sleep 0.01; done
}
stop_watcher() {
    kill "$watcher"
    wait "$watcher" 2>/dev/null || true
    watcher=
}
wait_printed() { # FOLDER COUNT
    until [ "$(find "$1/printed" -type f | wc -l)" -ge "$2" ]; do sleep 0.005; done
}
drop() { # FOLDER NAME
    cp "$work/report.txt" "$work/staging/$2"
    mv "$work/staging/$2" "$1/$2"
}

echo "== From a file's arrival to its job having left (--settle 0.2, PDF printer)"
start_watcher "$work/one" --pdf "$work/pdf-one"
for i in $(seq 20); do
    start=$(now)
    drop "$work/one" "R$i.TXT"
    wait_printed "$work/one" "$i"
    echo $(( ($(now) - start) / 1000000 ))
done | sort -n >"$work/latency"
stop_watcher
echo "minimum $(head -1 "$work/latency") ms, median $(sed -n 10p "$work/latency") ms"

throughput() { # LABEL COUNT OPTIONS...
    local label=$1 count=$2 folder="$work/many-$1"
    shift 2
    start_watcher "$folder" "$@"
    local start
    start=$(now)
    for i in $(seq "$count"); do drop "$folder" "J$i.TXT"; done
    wait_printed "$folder" "$count"
    local elapsed=$(( ($(now) - start) / 1000000 ))
    stop_watcher
    echo "$label: $count jobs in $elapsed ms, $(( count * 60000 / elapsed )) jobs per minute"
}

echo "== Jobs per minute"
throughput pdf 100 --pdf "$work/pdf-many"
if [ "$(id -u)" -eq 0 ] && [ -z "${KVALON_NO_CUPS:-}" ]; then
    # shellcheck source=scripts/cups-test-server.sh
    source "$here/cups-test-server.sh"
    trap 'stop_cups_test_server; cleanup' EXIT
    start_cups_test_server
    throughput queue 30 --printer PDF
else
    echo "queue: not measured (needs root for a scheduler of its own)"
fi
