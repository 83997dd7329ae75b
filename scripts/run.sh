#!/usr/bin/env bash
# Quick start, run: installs what is missing, builds the 64-bit program and
# starts it on the simulated machine under Wine. With a display the window
# opens there; without one it runs under Xvfb and a screenshot is saved after
# a few seconds. Arguments go to the program (e.g. -hide).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

"$TARVENHOLM_ROOT/scripts/setup.sh"
TARVENHOLM_SKIP_SETUP=1 "$TARVENHOLM_ROOT/scripts/build.sh" x86_64

BIN="$TARVENHOLM_ROOT/build/x86_64/bin"
export TARVENHOLM_SIM_DIR="${TARVENHOLM_SIM_DIR:-}"

if display_works; then
    prepare_wine_prefix
    cd "$BIN"
    exec "$WINE" ./Tarvenholm.exe "$@"
fi

trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver
SHOT_DIR="$TARVENHOLM_ROOT/build/screenshots"
mkdir -p "$SHOT_DIR"
(cd "$BIN" && "$WINE" ./Tarvenholm.exe "$@") &
program=$!
sleep "${TARVENHOLM_SHOT_DELAY:-6}"
import -window root "$SHOT_DIR/tarvenholm.png"
log "no display: the program ran under Xvfb; screenshot saved to $SHOT_DIR/tarvenholm.png"
kill "$program" 2>/dev/null || true
