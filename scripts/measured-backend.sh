# Sourced by the benchmarks that run jobs through a private scheduler.
# measured_backend WORK BUILD: writes WORK/kvalon, a backend that runs
# BUILD/kvalon under /usr/bin/time and appends its peak memory (kB) to
# WORK/memory, one figure a job; the backend runs as lp, so both are open.
measured_backend() {
    local work=$1 build=$2
    touch "$work/memory"
    chmod 0666 "$work/memory"
    cat >"$work/kvalon" <<WRAPPER
#!/bin/sh
[ \$# -eq 0 ] && exec "$build/kvalon"
exec /usr/bin/time -a -o "$work/memory" -f "%M" "$build/kvalon" "\$@"
WRAPPER
    chmod 0755 "$work/kvalon"
}
