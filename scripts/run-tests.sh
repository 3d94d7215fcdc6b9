#!/usr/bin/env bash
# Runs every test of a build folder. Tests that need a CUPS scheduler get a
# private one (started here when we are root), stopped again on exit.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen
if [ "$(id -u)" -eq 0 ] && [ -z "${KVALON_NO_CUPS:-}" ]; then
    # shellcheck source=scripts/cups-test-server.sh
    source "$here/cups-test-server.sh"
    start_cups_test_server
    trap stop_cups_test_server EXIT
fi
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
