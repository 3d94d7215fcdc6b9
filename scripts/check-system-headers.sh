#!/usr/bin/env bash
# Fails when a file of the program outside the operating system's own folders
# includes a POSIX header: such calls belong behind platform/, so that another
# system is one folder (platform/<system>/) and not a hunt through the layers.
# The print-service layer and the backend talk to CUPS, which is POSIX itself.
# Tests, benchmarks and fuzzers may use the system directly.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd|fcntl|signal|spawn|poll)\.h>|^[[:space:]]*#[[:space:]]*include[[:space:]]*<sys/'
offenders=$(grep -rlE "$pattern" --include='*.h' --include='*.cpp' \
    engine printing startup ui app platform 2>/dev/null \
    | grep -vE '^(platform/posix|platform/windows|printing/cups)/' | sort || true)

status=0
for file in $offenders; do
    echo "$file: a system header outside platform/posix/ (call the system through platform/)"
    status=1
done
# The headers of platform/ are the same for every system: no system's types.
system_types='\b(mode_t|pid_t|uid_t|gid_t|off_t|ssize_t|dev_t|ino_t|struct stat)\b'
for file in $(grep -lE "$system_types" platform/*.h 2>/dev/null || true); do
    echo "$file: a system's type in a header of platform/ (use plain integers or our own types)"
    status=1
done
exit $status
