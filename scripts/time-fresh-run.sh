#!/usr/bin/env bash
# Times what a newcomer does on a fresh Debian 12 machine: `git clone`, then
# `make run` up to the first PDF (the packages running needs included), then
# `make run` a second time. The fresh machine is a minimal Debian 12 made with
# mmdebstrap (apt, git and make, nothing else) in a folder of its own, which
# is removed afterwards; it downloads from the machine's Debian mirror. Needs
# root and the package mmdebstrap.
#
#   scripts/time-fresh-run.sh [BRANCH]     # default: the branch checked out here
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
branch=${1:-$(git -C "$root" rev-parse --abbrev-ref HEAD)}
if [ "$(id -u)" -ne 0 ] || ! command -v mmdebstrap >/dev/null; then
    echo "time-fresh-run.sh: needs root and mmdebstrap (apt-get install mmdebstrap)" >&2
    exit 2
fi

machine=$(mktemp -d /var/tmp/kvalon-fresh.XXXXXX)
mounted=()
# The machine's own /dev and /proc are mounted inside: nothing is removed
# while one of them still is.
cleanup() {
    local busy=0
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || busy=1; done
    if [ $busy -eq 0 ]; then
        rm -rf --one-file-system "$machine"
    else
        echo "time-fresh-run.sh: $machine left in place, a mount in it is busy" >&2
    fi
}
trap cleanup EXIT

echo "Making a fresh Debian 12 in $machine ..."
mmdebstrap --quiet --mode=root --variant=apt --include=git,make,ca-certificates bookworm \
    "$machine/root" "deb http://deb.debian.org/debian bookworm main" \
    "deb http://deb.debian.org/debian bookworm-updates main" \
    "deb http://deb.debian.org/debian-security bookworm-security main"
git clone -q --bare "$root" "$machine/root/srv/kvalon-p.git"
cp /etc/resolv.conf "$machine/root/etc/resolv.conf"
for folder in proc sys dev dev/pts; do
    mount --bind "/$folder" "$machine/root/$folder"
    mounted+=("$machine/root/$folder")
done

cat >"$machine/root/root/newcomer.sh" <<EOF
#!/bin/bash
set -e
TIMEFORMAT='%R s (%U s user, %S s system)'
cd /root
echo "load average before: \$(cut -d' ' -f1-3 /proc/loadavg)"
echo '== git clone'
time git clone -q -b '$branch' /srv/kvalon-p.git kvalon-p
cd kvalon-p
echo '== make run, the first time'
time make run
echo '== make run, the second time'
time make run
echo "load average after: \$(cut -d' ' -f1-3 /proc/loadavg)"
EOF
chmod +x "$machine/root/root/newcomer.sh"
chroot "$machine/root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /root/newcomer.sh
