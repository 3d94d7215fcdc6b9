#!/usr/bin/env bash
# Runs the tests of a build folder; further arguments go to ctest, e.g.
#   scripts/run-tests.sh build -L cups      # only the tests that need CUPS
#   scripts/run-tests.sh build -LE slow     # all but the slow ones
# The tests that need a CUPS scheduler get a private one (started here when we
# are root, stopped again on exit); without it they skip themselves.
set -euo pipefail
build=${1:-build}
shift || true
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen
if [ "$(id -u)" -eq 0 ] && [ -z "${KVALON_NO_CUPS:-}" ]; then
    # shellcheck source=scripts/cups-test-server.sh
    source "$here/cups-test-server.sh"
    trap stop_cups_test_server EXIT
    start_cups_test_server
fi
# A build configured without the tests (GoogleTest missing) fails here rather
# than passing with nothing run.
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)" "$@"
