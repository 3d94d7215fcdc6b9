#!/usr/bin/env bash
# A network printer for tests: the IPP Everywhere printer simulator
# ippeveprinter (Debian: cups-ipp-utils) on localhost:PORT, at
# ipp://localhost:PORT/ipp/print. It keeps every job it gets in FOLDER/jobs:
# the document as it arrived (N-TITLE.pdf, or .pwg for PWG raster) and beside
# it the job's attributes (N-TITLE.pdf.attributes), one IPP_NAME=value line
# each as the simulator hands them to its print command (IPP_MEDIA_COL,
# IPP_SIDES, IPP_JOB_NAME ...).
#
#   scripts/ipp-printer.sh start FOLDER PORT NAME [SIMULATOR OPTIONS...]
#   scripts/ipp-printer.sh stop FOLDER
#
# SIMULATOR OPTIONS go to ippeveprinter: -f application/pdf for a printer that
# takes PDF (the default is PWG raster only), -2 for two-sided printing, -P
# FILE.ppd for papers and margins of a PPD's. Without options it is a
# one-sided Letter printer with 1/4" margins (3.4 mm at the sides of A4).
#
# The simulator does not start without a DNS-SD client, and the Avahi client
# needs a D-Bus system bus: it gets a private bus in FOLDER in place of the
# system's, where it finds no Avahi daemon, and announces nothing (-r off).
# The machine's own bus and any Avahi daemon on it are neither asked nor
# changed. Needs dbus-daemon and ippeveprinter; any user may run it.
set -euo pipefail

command=${1:?start or stop}
folder=${2:?folder}

answers() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

stop_process() {
    local file=$1 pid
    [ -f "$file" ] || return 0
    pid=$(cat "$file")
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$file"
}

start_bus() {
    cat >"$folder/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$folder/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    dbus-daemon --config-file="$folder/bus.conf" --nofork --nopidfile \
        </dev/null >"$folder/bus.log" 2>&1 &
    echo $! >"$folder/bus.pid"
    for _ in $(seq 1 50); do
        [ -S "$folder/bus" ] && return 0
        sleep 0.1
    done
    echo "ipp-printer.sh: the private D-Bus bus did not start" >&2
    return 1
}

# The simulator's print command: it only keeps the job's attributes, put in
# place whole, so that a test that sees the file never reads it half written.
write_keeper() {
    cat >"$folder/keep-attributes" <<'EOF'
#!/bin/sh
env | grep '^IPP_' | sort >"$1.attributes-part" && mv "$1.attributes-part" "$1.attributes"
EOF
    chmod 0755 "$folder/keep-attributes"
}

start() {
    local port=${1:?port} name=${2:?name}
    shift 2
    command -v ippeveprinter >/dev/null && command -v dbus-daemon >/dev/null ||
        { echo "ipp-printer.sh: ippeveprinter or dbus-daemon missing" >&2; return 1; }
    mkdir -p "$folder/jobs"
    chmod 0755 "$folder" "$folder/jobs"
    start_bus
    write_keeper
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$folder/bus" \
        ippeveprinter -n localhost -p "$port" -d "$folder/jobs" -k \
        -c "$folder/keep-attributes" -r off "$@" "$name" \
        </dev/null >"$folder/printer.log" 2>&1 &
    echo $! >"$folder/printer.pid"
    for _ in $(seq 1 100); do
        answers "$port" && break
        sleep 0.1
    done
    if ! answers "$port" || ! kill -0 "$(cat "$folder/printer.pid")" 2>/dev/null; then
        echo "ipp-printer.sh: the simulator does not answer on port $port:" >&2
        cat "$folder/printer.log" >&2
        stop
        return 1
    fi
}

stop() {
    stop_process "$folder/printer.pid"
    stop_process "$folder/bus.pid"
}

case $command in
start)
    shift 2
    start "$@"
    ;;
stop) stop ;;
*)
    echo "usage: ipp-printer.sh start FOLDER PORT NAME [OPTIONS...] | stop FOLDER" >&2
    exit 2
    ;;
esac
