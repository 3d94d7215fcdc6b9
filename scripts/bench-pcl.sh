#!/usr/bin/env bash
# A PCL job of 100 pages (scripts/make_bench_pcl.py: a raster logo, rules and
# shades, 50 placed lines a page) into the PDF printer: planning alone and
# printing, time and peak memory, and the PDF's size; then 1,000 pages, whose
# peak memory must stay that of 100; and 100 pages whose heading is a macro
# called on each page and whose form is an overlay.
#
#   scripts/bench-pcl.sh [BUILD]
set -euo pipefail
build=$(cd "${1:-build-bench}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
program="$build/kvalon-p"
work=$(mktemp -d /tmp/kvalon-pcl-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME="$work"

measure() { # prints "seconds kilobytes" of one run
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
        cat "$work/stderr" >&2; return 1; }
    tail -n 1 "$work/time"
}

for run in 100 1000 100-forms; do
    pages=${run%-forms}
    forms=$([ "$run" = "$pages" ] || echo --forms)
    python3 "$here/make_bench_pcl.py" "$pages" $forms >"$work/job$run.pcl"
    size=$(stat -c %s "$work/job$run.pcl")
    read -r plan_s plan_kb < <(measure env KVALON_PDF="$work/out.pdf" "$program" --plan \
        "$work/job$run.pcl")
    read -r print_s print_kb < <(measure env KVALON_PDF="$work/out.pdf" "$program" \
        "$work/job$run.pcl")
    printf '%s pages (%.1f MB of PCL): plan %.2f s, peak %d MB; print %.2f s, peak %d MB, PDF %.1f MB, %s pages\n' \
        "$run" "$(echo "$size / 1048576" | bc -l)" "$plan_s" $((plan_kb / 1024)) "$print_s" \
        $((print_kb / 1024)) "$(echo "$(stat -c %s "$work/out.pdf") / 1048576" | bc -l)" \
        "$(pdfinfo "$work/out.pdf" | sed -n 's/^Pages: *//p')"
done
