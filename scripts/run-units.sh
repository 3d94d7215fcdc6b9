#!/usr/bin/env bash
# The watched folder's systemd units, run as systemd would run them where
# systemd cannot be the manager (a container, CI): for the user unit and its
# system twin,
#  - systemd-analyze verifies the instance, the program at its path;
#  - the instance is the folder escaped by systemd-escape --path (a blank in
#    it), %f its unescaped path, %E the user's configuration folder, and the
#    unit's EnvironmentFile= gives KVALON_WATCH_OPTIONS, which ExecStart=
#    splits into words as systemd splits an unbraced $VARIABLE;
#  - that command prints a report renamed into the folder, and SIGTERM (which
#    KillMode=mixed sends to the watcher alone) ends it by that signal, a
#    clean end for systemd, the job done.
# What is not tried: systemd itself starting the unit, User=lp, the journal.
#   scripts/run-units.sh PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(readlink -f "$1")
work=$(mktemp -d /tmp/kvalon-units.XXXXXX)
watcher=
cleanup() {
    if [ -n "$watcher" ]; then
        kill -KILL "$watcher" 2>/dev/null || true
        wait "$watcher" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" KVALON_PDF=
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# The value of `key` in the unit's [Service] section.
setting() { sed -n "s/^$2=//p" "$1"; }

for kind in user system; do
    unit="$here/../packaging/systemd/$kind/kvalon-p-watch@.service"
    folder="$work/$kind/dos print"
    mkdir -p "$folder" "$work/$kind/staging"
    instance=$(systemd-escape --path "$folder")
    [ "$(systemd-escape --unescape --path "$instance")" = "$folder" ] || fail "escaping $folder"

    mkdir -p "$work/verify"
    sed "s|^ExecStart=kvalon-p |ExecStart=$program |" "$unit" >"$work/verify/kvalon-p-watch@.service"
    systemd-analyze verify --man=no "$work/verify/kvalon-p-watch@$instance.service" ||
        fail "systemd-analyze verify $kind"

    # The unit's own configuration file, under this run's folder.
    conf=$(setting "$unit" EnvironmentFile)
    conf=${conf#-}
    conf=${conf//%E/$XDG_CONFIG_HOME}
    conf="$work/$kind/root$conf"
    mkdir -p "$(dirname "$conf")"
    echo "KVALON_WATCH_OPTIONS=--pdf $work/$kind/pdfs --settle 0.2" >"$conf"
    options=$(sed -n 's/^KVALON_WATCH_OPTIONS=//p' "$conf")

    exec_start=$(setting "$unit" ExecStart)
    words=()
    read -ra written <<<"$exec_start"
    for word in "${written[@]}"; do
        case "$word" in
        kvalon-p) words+=("$program") ;;
        '$KVALON_WATCH_OPTIONS')
            read -ra split <<<"$options"
            words+=("${split[@]}")
            ;;
        *) words+=("${word//%f/$folder}") ;;
        esac
    done
    [ "$(setting "$unit" KillMode)" = mixed ] || fail "$kind: the stop signal reaches the job"

    "${words[@]}" 2>"$work/$kind/log" &
    watcher=$!
    printf 'Report\r\nSum 12.50\r\n' >"$work/$kind/staging/REPORT.TXT"
    mv "$work/$kind/staging/REPORT.TXT" "$folder/REPORT.TXT"
    for _ in $(seq 200); do
        [ -f "$folder/printed/REPORT.TXT" ] && break
        sleep 0.1
    done
    [ -f "$folder/printed/REPORT.TXT" ] || fail "$kind: the report was not printed: $(cat "$work/$kind/log")"
    pdftotext "$work/$kind/pdfs/REPORT.pdf" - | grep -q "Sum 12.50" || fail "$kind: the PDF"
    kill -TERM "$watcher"
    status=0
    wait "$watcher" || status=$?
    watcher=
    [ "$status" = 143 ] || fail "$kind: SIGTERM ended the watcher with status $status"
    echo "ok: the $kind unit: ${words[*]}"
done
