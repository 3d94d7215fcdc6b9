#!/usr/bin/env bash
# A private CUPS scheduler for tests: it listens only on 127.0.0.1:PORT and
# keeps its configuration, spool, state and logs in FOLDER, so the machine's
# own scheduler, if one runs, is neither asked nor changed. It has one
# cups-pdf queue, QUEUE ("Remote" unless given), as its default, whose
# documents land in FOLDER/pdf and nowhere else (a folder of cups-pdf's own
# under /var/spool/cups-pdf, made for this scheduler alone). Clients reach
# it through CUPS_SERVER=127.0.0.1:PORT (or lpstat -h and the like). Besides
# the system's backends it has a printer of its own for tests of failing
# printers: a queue on kvalon-test:/fail fails every job with the message
# "Paper jam in tray 2", one on kvalon-test:/slow takes a minute over each job,
# one on kvalon-test:/held/PATH (or /held-jam/PATH) holds each job until the
# file PATH exists, then prints it (or jams), one on kvalon-test:/keep/PATH
# writes what it got into the file PATH (where lp may write).
#
#   scripts/print-server.sh start FOLDER PORT [QUEUE [BACKEND]]  # status 0 when it answers
#   scripts/print-server.sh stop FOLDER
#
# QUEUE is the cups-pdf queue ("Remote" unless given). BACKEND is a backend
# program of our own (a build's `kvalon`, or a wrapper
# around it); the scheduler then runs it for the device scheme kvalon. It gets
# a program folder (ServerBin) of its own in FOLDER that leads to the system's
# for everything else, and to the test printer. cupsd runs a backend only when
# it and its folder belong to root and nobody else may write them.
# KVALON_SERVER_ENV="NAME=VALUE ..." in the environment of `start` sets those
# variables for every backend the scheduler runs (short time limits for tests).
#
# Needs root (cupsd and the cups-pdf backend run as root). The filters run as
# lp: FOLDER's parents must let lp pass, or every job comes out as one page.
set -euo pipefail

command=${1:?start or stop}
folder=${2:?folder}
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

# The system's filters and backends, and the test printer beside them.
write_server_bin() {
    mkdir -p "$folder/bin/backend"
    chmod 0755 "$folder/bin" "$folder/bin/backend"
    local part
    for part in /usr/lib/cups/*; do
        [ "${part##*/}" = backend ] || ln -sfn "$part" "$folder/bin/${part##*/}"
    done
    for part in /usr/lib/cups/backend/*; do
        ln -sfn "$part" "$folder/bin/backend/${part##*/}"
    done
    cat >"$folder/bin/backend/kvalon-test" <<'END'
#!/bin/sh
if [ $# -eq 0 ]; then
    echo 'direct kvalon-test "Unknown" "Kvalon-P test printer"'
    exit 0
fi
case "$DEVICE_URI" in
kvalon-test:/keep/*) cat ${6:+"$6"} >"/${DEVICE_URI#kvalon-test:/keep/}"; exit 0 ;;
esac
[ $# -ge 6 ] || cat >/dev/null
case "$DEVICE_URI" in
kvalon-test:/held*/*)
    gate=/${DEVICE_URI#kvalon-test:/held*/}
    for _ in $(seq 1 1200); do [ -e "$gate" ] && break; sleep 0.1; done ;;
esac
case "$DEVICE_URI" in
*/fail | kvalon-test:/held-jam/*) echo "ERROR: Paper jam in tray 2" >&2; exit 1 ;;
*/slow) sleep 60 ;;
esac
exit 0
END
    chmod 0755 "$folder/bin/backend/kvalon-test"
}

write_configuration() {
    local port=$1
    mkdir -p "$folder"/{conf/ppd,spool/tmp,cache,state,log}
    # The filters run as lp and read the spool files through these folders.
    chmod 0755 "$folder" "$folder"/{conf,cache,state,log}
    write_server_bin
    cat >"$folder/conf/cups-files.conf" <<EOF
ServerBin $folder/bin
ServerRoot $folder/conf
RequestRoot $folder/spool
TempDir $folder/spool/tmp
CacheDir $folder/cache
StateDir $folder/state
AccessLog $folder/log/access_log
ErrorLog $folder/log/error_log
PageLog $folder/log/page_log
SystemGroup root
${server_bin:+ServerBin $server_bin}
EOF
    local setting
    for setting in ${KVALON_SERVER_ENV:-}; do
        echo "SetEnv ${setting%%=*} ${setting#*=}" >>"$folder/conf/cups-files.conf"
    done
    if [ -n "$server_bin" ]; then
        ln -sfn "$folder/bin/backend/kvalon-test" "$server_bin/backend/kvalon-test"
    fi
    cat >"$folder/conf/cupsd.conf" <<EOF
Listen 127.0.0.1:$port
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow 127.0.0.1
</Location>
<Location /admin>
  Order allow,deny
  Allow 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
}

# FOLDER/serverbin: links to the system's program folders, and a backend
# folder with the system's backends plus ours.
link_server_programs() {
    local backend=$1 system=/usr/lib/cups
    server_bin=$folder/serverbin
    rm -rf "$server_bin"
    mkdir -p "$server_bin/backend"
    chmod 0755 "$server_bin" "$server_bin/backend"
    for entry in "$system"/*; do
        [ "$(basename "$entry")" = backend ] || ln -s "$entry" "$server_bin/"
    done
    # The program's own backend is the one asked for: an installed program's
    # link in the system's folder is left out, not taken for it.
    for entry in "$system"/backend/*; do
        [ "$(basename "$entry")" = kvalon ] || ln -s "$entry" "$server_bin/backend/"
    done
    ln -s "$(readlink -f "$backend")" "$server_bin/backend/kvalon"
}

answers() {
    lpstat -h "127.0.0.1:$1" -r 2>/dev/null | grep -q "scheduler is running"
}

start() {
    local port=${1:?port} queue=${2:-Remote}
    [ "$(id -u)" -eq 0 ] || { echo "print-server.sh: needs root" >&2; return 1; }
    [ -x /usr/sbin/cupsd ] && [ -f "$ppd" ] ||
        { echo "print-server.sh: cupsd or cups-pdf missing" >&2; return 1; }
    server_bin=""
    if [ -n "${3:-}" ]; then
        link_server_programs "$3"
    fi
    write_configuration "$port"
    /usr/sbin/cupsd -f -c "$folder/conf/cupsd.conf" -s "$folder/conf/cups-files.conf" \
        </dev/null >"$folder/log/cupsd.out" 2>&1 &
    echo $! >"$folder/cupsd.pid"
    for _ in $(seq 1 100); do
        answers "$port" && break
        sleep 0.1
    done
    answers "$port" || { echo "print-server.sh: no answer on port $port" >&2; return 1; }
    # Another scheduler that took the port first answers too; ours must be alive.
    kill -0 "$(cat "$folder/cupsd.pid")" 2>/dev/null ||
        { echo "print-server.sh: port $port is taken" >&2; return 1; }
    write_pdf_output "$port"
    lpadmin -h "127.0.0.1:$port" -p "$queue" -E -v "cups-pdf:/$(cat "$folder/pdf-name")" \
        -P "$ppd" -o PageSize=A4
    lpadmin -h "127.0.0.1:$port" -d "$queue"
}

# cups-pdf reads /etc/cups/cups-pdf-NAME.conf for a queue on cups-pdf:/NAME:
# this scheduler's queue writes into a folder of its own, which FOLDER/pdf
# leads to, and not into the anonymous folder every scheduler shares.
write_pdf_output() {
    local name="kvalon-$1" out
    out=/var/spool/cups-pdf/$name
    rm -rf "$out"
    mkdir -p "$out"
    chmod 0777 "$out"
    grep -v -E '^(Out|AnonDirName) ' /etc/cups/cups-pdf.conf >"/etc/cups/cups-pdf-$name.conf" || true
    printf 'Out %s\nAnonDirName %s\n' "$out" "$out" >>"/etc/cups/cups-pdf-$name.conf"
    echo "$name" >"$folder/pdf-name"
    ln -sfn "$out" "$folder/pdf"
}

remove_pdf_output() {
    [ -f "$folder/pdf-name" ] || return 0
    local name
    name=$(cat "$folder/pdf-name")
    rm -rf "/var/spool/cups-pdf/$name" "/etc/cups/cups-pdf-$name.conf" "$folder/pdf" \
        "$folder/pdf-name"
}

stop() {
    [ -f "$folder/cupsd.pid" ] || { remove_pdf_output; return 0; }
    local pid
    pid=$(cat "$folder/cupsd.pid")
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$folder/cupsd.pid"
    remove_pdf_output
}

case $command in
start) start "${3:-}" "${4:-}" "${5:-}" ;;
stop) stop ;;
*) echo "usage: print-server.sh start FOLDER PORT [QUEUE [BACKEND]] | stop FOLDER" >&2; exit 2 ;;
esac
