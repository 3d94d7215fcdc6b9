#!/usr/bin/env bash
# Sourced by the test runner: a CUPS scheduler with a cups-pdf queue "PDF" as
# the server default, for the tests that print through a real print service.
# Sets KVALON_CUPS_TEST=1 when the scheduler answers.

cups_test_pid=""

start_cups_test_server() {
    if ! lpstat -r 2>/dev/null | grep -q "scheduler is running"; then
        mkdir -p /run/cups /var/spool/cups-pdf/ANONYMOUS
        /usr/sbin/cupsd -f </dev/null >/tmp/kvalon-cupsd.log 2>&1 &
        cups_test_pid=$!
        for _ in $(seq 1 100); do
            lpstat -r 2>/dev/null | grep -q "scheduler is running" && break
            sleep 0.1
        done
    fi
    if ! lpstat -r 2>/dev/null | grep -q "scheduler is running"; then
        echo "CUPS did not start; the tests that need it skip themselves" >&2
        return 0
    fi
    lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=A4 &&
        lpadmin -d PDF && export KVALON_CUPS_TEST=1
}

stop_cups_test_server() {
    if [ -n "$cups_test_pid" ]; then
        kill -TERM "$cups_test_pid" 2>/dev/null || true
        wait "$cups_test_pid" 2>/dev/null || true
        cups_test_pid=""
    fi
}
