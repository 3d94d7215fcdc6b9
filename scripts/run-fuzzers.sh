#!/usr/bin/env bash
# Runs every fuzz target of a build folder for a bounded time, starting from
# its corpus under fuzz/corpus (copied into BUILD/fuzz-corpus, where the
# fuzzer adds what it finds). Any crash, leak, hang (a single input over 10 s) or
# sanitizer report makes the run fail; the input that did it is kept under
# BUILD/fuzz-artifacts/. Prints one line per target with its executions.
#
#   scripts/run-fuzzers.sh BUILD SECONDS [TARGET...]
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
shift 2 || true
here=$(cd "$(dirname "$0")" && pwd)
corpora="$here/../fuzz/corpus"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_command_line fuzz_filter_screen fuzz_filter_printer fuzz_escp_reader fuzz_pcl_reader
    fuzz_print_source fuzz_pdf_trailer fuzz_true_type fuzz_spool_journal
    fuzz_job_record)

# The report target needs room for lines longer than the 32,765 limit.
max_len() { [ "$1" = fuzz_print_source ] && echo 70000 || echo 4096; }

failed=0
summary=""
mkdir -p "$build/fuzz-artifacts"
for target in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$target"
    mkdir -p "$corpus"
    cp -n "$corpora/$target"/* "$corpus"/ 2>/dev/null || true
    log="$build/fuzz-artifacts/$target.log"
    "$build/fuzz/$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len="$(max_len "$target")" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$target-" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -1)
    if [ $status -ne 0 ]; then
        failed=1
        echo "FAILED: $target (status $status); see $log" >&2
        grep -E "ERROR|SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
    fi
    summary+="$target: ${runs:-0} runs in ${seconds} s, status $status"$'\n'
done
printf '%s' "$summary"
exit $failed
