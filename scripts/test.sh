#!/usr/bin/env bash
# Quick start, tests: installs what is missing, builds both architectures and
# runs every test of the 64-bit build under Wine (Xvfb when there is no
# display). Extra arguments go to ctest, e.g. scripts/test.sh -R Settings.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

"$TARVENHOLM_ROOT/scripts/setup.sh"
TARVENHOLM_SKIP_SETUP=1 "$TARVENHOLM_ROOT/scripts/build.sh" "${TARVENHOLM_ARCHS[@]}"

trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver
cd "$TARVENHOLM_ROOT"
ctest --preset x86_64 "$@"
