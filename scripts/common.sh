# Shared settings of the setup, build, test and run scripts. Sourced, not run.
TARVENHOLM_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TARVENHOLM_CACHE="${TARVENHOLM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvenholm}"
TARVENHOLM_ARCHS=(x86_64 i686)
export TARVENHOLM_ROOT TARVENHOLM_CACHE

log() { printf '[tarvenholm] %s\n' "$*" >&2; }
die() { printf '[tarvenholm] error: %s\n' "$*" >&2; exit 1; }

# No script of ours ends without saying why: under set -e a failing command
# ends the script, and this trap names it, where it stood and its status
# first. errtrace carries the trap into functions and command substitutions.
# Scripts without set -e (the test emulator, checks that expect failures)
# look at statuses themselves and get no trap.
report_failure() {
    local command="${3%%$'\n'*}"
    [ "$command" = "$3" ] || command="$command ..."
    printf '[tarvenholm] error: "%s" failed with exit status %s (%s, line %s)\n' \
        "$command" "$1" "${4:-${0}}" "$2" >&2
}
case $- in
*e*)
    set -o errtrace
    trap 'report_failure "$?" "$LINENO" "$BASH_COMMAND" "${BASH_SOURCE[0]:-}"' ERR
    ;;
esac

# The archive this machine's apt already uses: the first binary entry of the
# deb822 sources, else of the one-line sources.list. No host is written in
# the project; a machine with its own mirror keeps using it.
machine_archive() {
    local uri
    uri="$(sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
        grep -v -- '-security' | awk '{print $1; exit}' || true)"
    # One-line entries may carry options in brackets before the address.
    [ -n "$uri" ] || uri="$(awk '$1 == "deb" { i = 2; if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
                                               if ($i !~ /-security/) { print $i; exit } }' \
        /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true)"
    [ -n "$uri" ] || die "no Debian archive found in this machine's apt sources"
    echo "$uri"
}
