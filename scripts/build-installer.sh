#!/usr/bin/env bash
# Builds the Windows installers: the 32-bit release setup
# (build/i686/installer/Tarvenholm-<version>-setup.exe) and the 64-bit test
# setup for Wine (build/x86_64/installer/Tarvenholm-<version>-x64-setup.exe).
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$TARVENHOLM_ROOT/scripts/setup.sh"
TARVENHOLM_SKIP_SETUP=1 "$TARVENHOLM_ROOT/scripts/build.sh" "${TARVENHOLM_ARCHS[@]}"
cd "$TARVENHOLM_ROOT"
for arch in "${TARVENHOLM_ARCHS[@]}"; do
    cmake --build --preset "$arch" --target installer
done
ls -l build/*/installer/*.exe
