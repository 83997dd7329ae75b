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

# The simulated machine around the program: its state folder named
# explicitly, so that programs the control centre starts from elsewhere (a
# firmware installer) find it too, and the writer of the hardware snapshot
# section running beside it as on the real machine.
start_simulated_machine() {
    if [ -z "${TARVENHOLM_SIM_DIR:-}" ]; then
        mkdir -p "$BIN/sim"
        TARVENHOLM_SIM_DIR="$("$WINE" winepath -w "$BIN/sim" 2>/dev/null | tr -d '\r')"
    fi
    export TARVENHOLM_SIM_DIR
    (cd "$BIN" && exec "$WINE" ./SnapshotWriter.exe >/dev/null 2>&1) &
    SNAPSHOT_WRITER=$!
    log "simulated machine: state and journals in $TARVENHOLM_SIM_DIR (sim/README.md)"
}
stop_simulated_machine() { kill "${SNAPSHOT_WRITER:-}" 2>/dev/null || true; }

if display_works; then
    prepare_wine_prefix
    start_simulated_machine
    trap stop_simulated_machine EXIT
    cd "$BIN"
    "$WINE" ./Tarvenholm.exe "$@"
    exit $?
fi

trap 'stop_simulated_machine; stop_wine_world' EXIT
start_display
prepare_wine_prefix
start_wineserver
start_simulated_machine
SHOT_DIR="$TARVENHOLM_ROOT/build/screenshots"
mkdir -p "$SHOT_DIR"
(cd "$BIN" && "$WINE" ./Tarvenholm.exe "$@") &
program=$!
sleep "${TARVENHOLM_SHOT_DELAY:-6}"
import -window root "$SHOT_DIR/tarvenholm.png"
log "no display: the program ran under Xvfb; screenshot saved to $SHOT_DIR/tarvenholm.png"
kill "$program" 2>/dev/null || true
