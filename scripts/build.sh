#!/usr/bin/env bash
# Configures and builds the given architectures (default: both).
#   scripts/build.sh [x86_64|i686 ...]
set -euo pipefail
. "$(dirname "$0")/common.sh"

[ "${TARVENHOLM_SKIP_SETUP:-0}" = 1 ] || "$TARVENHOLM_ROOT/scripts/setup.sh"

archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=("${TARVENHOLM_ARCHS[@]}")
werror=OFF
[ "${CI:-}" = true ] && werror=ON
cd "$TARVENHOLM_ROOT"
for arch in "${archs[@]}"; do
    log "building $arch"
    cmake --preset "$arch" -DTARVENHOLM_WERROR="$werror" \
        -DTARVENHOLM_DEPS_DIR="$TARVENHOLM_CACHE/deps/$arch" >/dev/null
    cmake --build --preset "$arch"
done
