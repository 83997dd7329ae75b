# Shared settings of the setup, build, test and run scripts. Sourced, not run.
TARVENHOLM_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TARVENHOLM_CACHE="${TARVENHOLM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvenholm}"
TARVENHOLM_ARCHS=(x86_64 i686)
export TARVENHOLM_ROOT TARVENHOLM_CACHE

log() { printf '[tarvenholm] %s\n' "$*" >&2; }
die() { printf '[tarvenholm] error: %s\n' "$*" >&2; exit 1; }
