#!/usr/bin/env bash
# Sourced by the test runner: the test CUPS scheduler, a private one
# (scripts/print-server.sh: its own folders, 127.0.0.1 and a free port) with a
# cups-pdf queue "PDF" as its default, for the tests that print through a real
# print service. The machine's own scheduler, if one runs, is neither asked
# nor changed. Exports CUPS_SERVER, which the CUPS tools and the program
# follow, KVALON_CUPS_TEST=1 when the scheduler answers, and KVALON_CUPS_PDF,
# the folder the queue PDF's documents land in.

cups_test_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cups_test_folder=""

free_local_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start_cups_test_server() {
    local port
    cups_test_folder=$(mktemp -d /tmp/kvalon-cups.XXXXXX)
    port=$(free_local_port)
    if ! "$cups_test_scripts/print-server.sh" start "$cups_test_folder" "$port" PDF; then
        echo "The test CUPS scheduler did not start; the tests that need it skip themselves" >&2
        return 0
    fi
    # The queue PDF's documents land in the scheduler's own folder.
    export CUPS_SERVER="127.0.0.1:$port" KVALON_CUPS_TEST=1 KVALON_CUPS_PDF="$cups_test_folder/pdf"
}

stop_cups_test_server() {
    [ -n "$cups_test_folder" ] || return 0
    "$cups_test_scripts/print-server.sh" stop "$cups_test_folder"
    rm -rf "$cups_test_folder"
    cups_test_folder=""
}
