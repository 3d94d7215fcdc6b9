#!/usr/bin/env bash
# The office print server under load, on a scheduler of its own
# (scripts/print-server.sh) with a cups-pdf destination "Remote" and the queue
# "Kvalon" made by --setup-queue:
#  - a five-page report from submission (lp -h) to the destination's PDF,
#    median and worst of 5 on the idle server;
#  - 200 jobs from 10 parallel clients (a mix of reports, one starting with
#    ESC @): every job arrives once with its own pages, each client's jobs in
#    its order; jobs per minute and the backend's peak memory per job.
# Needs root (cupsd); prints a note and nothing else without it.
#
#   scripts/bench-office-queue.sh [BUILD]
set -euo pipefail
build=$(cd "${1:-build-bench}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/cupsd ] || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
    echo "office queue: skipped (needs root, cupsd and cups-pdf)"
    exit 0
fi
work=$(mktemp -d /tmp/kvalon-office.XXXXXX)
# The backend runs as lp: it must reach its wrapper and write its figures.
chmod 0755 "$work"
tag=kvbench$$
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
server=127.0.0.1:$port
cleanup() {
    "$here/print-server.sh" stop "$work/server" || true
    rm -rf "$work"
}
trap cleanup EXIT

# The backend under /usr/bin/time: one peak-memory figure (kB) per job.
. "$here/measured-backend.sh"
measured_backend "$work" "$build"
"$here/print-server.sh" start "$work/server" "$port" Remote "$work/kvalon"
# The destination's documents, in a folder of this scheduler's own.
anonymous=$work/server/pdf
export CUPS_SERVER=$server HOME=$work XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
"$build/kvalon-p" --setup-queue Kvalon Remote >/dev/null

# The reports, and the pages each gives when printed here.
python3 "$here/make_bench_report.py" 5 >"$work/five.txt"
cp "$here/../samples/sample-report.txt" "$work/r0.txt"
{ printf '\033@'; cat "$here/../samples/sample-report.txt"; } >"$work/r1.txt"
python3 "$here/make_bench_report.py" 3 >"$work/r2.txt"
python3 "$here/make_bench_report.py" 1 >"$work/r3.txt"
declare -A pages
for report in five r0 r1 r2 r3; do
    "$build/kvalon-p" --pdf "$work/$report.pdf" "$work/$report.txt"
    pages[$report]=$(pdfinfo "$work/$report.pdf" | awk '/^Pages:/ { print $2 }')
done

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# A PDF cups-pdf has finished: it writes in place, so wait until it reads whole.
arrived() {
    local file
    for file in "$anonymous"/"$1"*-job_*.pdf; do
        [ -f "$file" ] && pdfinfo "$file" >/dev/null 2>&1 && return 0
    done
    return 1
}

echo "== Office queue: one five-page report (${pages[five]} pages), idle server"
for run in 1 2 3 4 5; do
    title=$tag-five-$run
    start=$(now_ms)
    lp -h "$server" -d Kvalon -U "$tag" -t "$title" -o raw "$work/five.txt" >/dev/null
    until arrived "$title"; do sleep 0.02; done
    echo $(( $(now_ms) - start ))
done | sort -n | awk '{ t[NR] = $1 } END {
    printf "submission to the destination'"'"'s PDF: median %d ms, worst %d ms of 5 (target < 2000 ms)\n", t[3], t[5] }'

echo
echo "== Office queue: 200 jobs from 10 parallel clients"
: >"$work/memory"
start=$(now_ms)
for client in $(seq -w 0 9); do
    (
        for job in $(seq -w 0 19); do
            report=r$(( (10#$client + 10#$job) % 4 ))
            lp -h "$server" -d Kvalon -U "$tag-c$client" -t "$tag-c$client-$job-$report" -o raw \
                "$work/$report.txt" >/dev/null
        done
    ) &
done
wait
for _ in $(seq 1 1800); do
    [ -z "$(lpstat -h "$server" -W not-completed -o)" ] &&
        [ "$(find "$anonymous" -name "$tag-c*-job_*.pdf" | wc -l)" -ge 200 ] && break
    sleep 0.5
done
# The last PDF may still be growing.
for file in "$anonymous"/"$tag"-c*-job_*.pdf; do
    until pdfinfo "$file" >/dev/null 2>&1; do sleep 0.05; done
done
elapsed=$(( $(now_ms) - start ))

# Each file: TAG-cCC-JJ-rN...-job_ID.pdf (cups-pdf adds bytes of its own
# after the title). Right pages, once each, and each
# client's jobs in the order it sent them.
for file in "$anonymous"/"$tag"-c*-job_*.pdf; do
    name=$(basename "$file" .pdf)
    report=$(echo "$name" | sed 's/.*-c[0-9]*-[0-9]*-\(r[0-9]\).*/\1/')
    got=$(pdfinfo "$file" | awk '/^Pages:/ { print $2 }')
    echo "$name $got ${pages[$report]}"
done | python3 -c '
import re, sys
jobs = {}
right = 0
for line in sys.stdin:
    name, got, want = line.split()
    client, seq, job_id = re.match(r".*-c(\d+)-(\d+)-r\d.*-job_(\d+)$", name).groups()
    jobs.setdefault(client, []).append((int(job_id), int(seq)))
    right += got == want
arrived = sum(len(v) for v in jobs.values())
distinct = len({(c, s) for c, v in jobs.items() for _, s in v})
in_order = sum(1 for v in jobs.values() if [s for _, s in sorted(v)] == sorted(s for _, s in v))
print(f"arrived {arrived} of 200 ({distinct} distinct), pages right {right}, "
      f"clients in order {in_order} of {len(jobs)}")
'
awk -v ms="$elapsed" 'BEGIN { printf "200 jobs in %.1f s: %.0f jobs per minute\n", ms / 1000, 200 * 60000 / ms }'
grep -E '^[0-9]+$' "$work/memory" | sort -n | awk '{ m[NR] = $1 } END {
    printf "backend peak memory per job: median %d MB, largest %d MB (%d jobs)\n",
        m[int((NR + 1) / 2)] / 1024, m[NR] / 1024, NR }'
