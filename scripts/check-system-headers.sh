#!/usr/bin/env bash
# Fails when a file of the program outside the operating system's own folders
# includes a POSIX header: such calls belong behind platform/, so that another
# system is one folder (platform/<system>/) and not a hunt through the layers.
# The print-service layer and the backend talk to CUPS, which is POSIX itself.
# Tests, benchmarks and fuzzers may use the system directly.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# Files whose system calls have not yet moved behind platform/. The list only
# shrinks: a file on it that no longer needs the system fails the check too.
waiting=(
    engine/atomic_file.cpp
    engine/atomic_file.h
    engine/document_kind.cpp
    engine/file_checks.cpp
    engine/pdf_trailer.cpp
    engine/replace_target.cpp
    engine/replace_target.h
    engine/source_file.cpp
    printing/pdf/fd_byte_output.cpp
    printing/pdf/ghostscript.cpp
    printing/pdf/pdf_document_pass.cpp
    printing/pdf_target_file.cpp
    startup/desktop_launch.cpp
    startup/standard_streams.cpp
    startup/stdin_report.cpp
)

pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd|fcntl|signal|spawn|poll)\.h>|^[[:space:]]*#[[:space:]]*include[[:space:]]*<sys/'
offenders=$(grep -rlE "$pattern" --include='*.h' --include='*.cpp' \
    engine printing startup ui app platform 2>/dev/null \
    | grep -vE '^(platform/posix|platform/windows|printing/cups)/' | sort || true)

status=0
for file in $offenders; do
    if [[ ! " ${waiting[*]} " =~ " ${file} " ]]; then
        echo "$file: a system header outside platform/posix/ (call the system through platform/)"
        status=1
    fi
done
for file in "${waiting[@]}"; do
    if ! grep -qxF "$file" <<<"$offenders"; then
        echo "$file: no longer includes a system header; take it off the waiting list in $0"
        status=1
    fi
done
exit $status
