#!/usr/bin/env bash
# Runs a command in a clone of this repository inside a brand-new minimal
# Debian 12 system: debootstrap's minbase with git and ca-certificates, and
# nothing else (no compilers, no Wine, no caches of ours). CI runs the test
# command this way, so that an install step the README's commands forget
# fails CI instead of passing on a machine that earlier work set up.
#
#   scripts/fresh-debian.sh                     # runs: bash scripts/test.sh
#   scripts/fresh-debian.sh bash scripts/run.sh # any command, in the clone's root
#
# Needs root. The unpacked base system is kept as a tarball outside the clone
# ($TARVENHOLM_FRESH_CACHE, default /var/cache/tarvenholm-fresh), so later
# runs skip its download; each run unpacks a new copy and removes it
# afterwards (TARVENHOLM_FRESH_KEEP=1 keeps it). Downloaded .deb files are
# kept beside the tarball: a later run still installs every package, only
# without fetching it again. What is cloned is the committed HEAD.
# TARVENHOLM_FRESH_OUT names a folder of this machine that the system sees as
# /srv/out, for what the command leaves to look at (a screenshot).
set -euo pipefail
. "$(dirname "$0")/common.sh"

[ "$(id -u)" = 0 ] || die "making a Debian system needs root"
[ "$#" -gt 0 ] || set -- bash scripts/test.sh

CACHE="${TARVENHOLM_FRESH_CACHE:-/var/cache/tarvenholm-fresh}"
BASE="$CACHE/bookworm-minbase.tar"
DEBS="$CACHE/apt-archives"
SUITE=bookworm

ensure_debootstrap() {
    command -v debootstrap >/dev/null && return 0
    log "installing debootstrap on this machine"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
}

make_base_system() {
    [ -s "$BASE" ] && return 0
    ensure_debootstrap
    local archive tmp
    archive="$(machine_archive)"
    tmp="$(mktemp -d "${TMPDIR:-/tmp}/tarvenholm-base.XXXXXX")"
    log "making the base system ($SUITE minbase from $archive, once)"
    debootstrap --variant=minbase --include=git,ca-certificates "$SUITE" "$tmp" "$archive" >"$tmp.log" 2>&1 ||
        { tail -n 20 "$tmp.log" >&2; rm -rf --one-file-system "$tmp"; die "debootstrap failed"; }
    mkdir -p "$CACHE"
    tar -C "$tmp" -cf "$BASE.part" .
    mv "$BASE.part" "$BASE"
    rm -rf --one-file-system "$tmp" "$tmp.log"
}

ROOT=""
remove_system() {
    local status=$?
    if [ -n "$ROOT" ]; then
        if [ "${TARVENHOLM_FRESH_KEEP:-0}" = 1 ]; then
            log "kept the system in $ROOT"
        else
            rm -rf --one-file-system "$ROOT"
        fi
    fi
    exit "$status"
}

unpack_system() {
    ROOT="$(mktemp -d "${TMPDIR:-/tmp}/tarvenholm-fresh.XXXXXX")"
    trap remove_system EXIT
    trap 'exit 130' INT TERM
    tar -C "$ROOT" -xf "$BASE"
    cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
    git clone -q "$TARVENHOLM_ROOT" "$ROOT/srv/project"
    mkdir -p "$DEBS/partial" "$ROOT/srv/out"
}

# The mounts a Wine run needs, in a mount namespace of their own so that
# they go with the command, whatever way it ends.
run_inside() {
    local command
    command="$(printf '%q ' "$@")"
    log "running '$*' in a new Debian 12 system ($ROOT)"
    unshare --mount --propagation private bash -c '
        set -e; r=$1; debs=$2; out=$3; shift 3
        mount -t proc proc "$r/proc"
        mount -t sysfs sys "$r/sys"
        mount --rbind /dev "$r/dev"
        mount -t tmpfs tmpfs "$r/dev/shm"
        mount -t tmpfs tmpfs "$r/tmp"
        mount --bind "$debs" "$r/var/cache/apt/archives"
        [ -z "$out" ] || mount --bind "$out" "$r/srv/out"
        exec chroot "$r" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            CI="${CI:-}" bash -c "cd /srv/project && $*"
    ' _ "$ROOT" "$DEBS" "${TARVENHOLM_FRESH_OUT:-}" "$command"
}

make_base_system
unpack_system
[ -z "${TARVENHOLM_FRESH_OUT:-}" ] || mkdir -p "$TARVENHOLM_FRESH_OUT"
status=0
run_inside "$@" || status=$?
[ "$status" = 0 ] || log "'$*' ended with exit status $status in the new system"
exit "$status"
