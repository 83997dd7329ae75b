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
    start_update_server
}
stop_simulated_machine() {
    kill "${SNAPSHOT_WRITER:-}" 2>/dev/null || true
    kill "${UPDATE_SERVER:-}" 2>/dev/null || true
}

# The lighting controller's release, as the simulated firmware installer left
# it; TARVENHOLM_FIRMWARE_RELEASE (e.g. 0x0105) sets it before the start.
controller_release() {
    local ini
    ini="$("$WINE" winepath -u "$TARVENHOLM_SIM_DIR" 2>/dev/null | tr -d '\r')lighting.ini"
    python3 - "$ini" "${TARVENHOLM_FIRMWARE_RELEASE:-}" <<'PY'
import configparser, os, sys
path, wanted = sys.argv[1], sys.argv[2]
ini = configparser.ConfigParser()
ini.read(path)
if wanted:
    if not ini.has_section("device"):
        ini.add_section("device")
    ini.set("device", "release", wanted)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        ini.write(f, space_around_delimiters=False)
print(ini.get("device", "release", fallback="0x0105"))
PY
}

# The update server of the simulated machine on a free port of 127.0.0.1,
# serving the build's site (sim/update-server); TARVENHOLM_UPDATE_FAULT picks
# one of its faults (slow: a download long enough to watch). A server of your
# own named by TARVENHOLM_UPDATE_URL is used as it is.
start_update_server() {
    local release
    release="$(controller_release)"
    if [ -n "${TARVENHOLM_UPDATE_URL:-}" ]; then
        log "update server: $TARVENHOLM_UPDATE_URL (yours); lighting controller at release $release"
        return 0
    fi
    local site="$BIN/update-site" port_file="$TARVENHOLM_ROOT/build/update-server.port" i
    rm -f "$port_file"
    python3 "$TARVENHOLM_ROOT/sim/update-server/update_server.py" --root "$site" --port 0 \
        --port-file "$port_file" --log "$TARVENHOLM_ROOT/build/update-server.log" \
        --fault "${TARVENHOLM_UPDATE_FAULT:-none}" &
    UPDATE_SERVER=$!
    for i in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
    [ -s "$port_file" ] || die "the update server did not start (build/update-server.log)"
    export TARVENHOLM_UPDATE_URL="http://127.0.0.1:$(cat "$port_file")/"
    log "update server: $TARVENHOLM_UPDATE_URL offers firmware $(tr -d '\r\n' <"$site/rk/firmware/version")" \
        "and version $(tr -d '\r\n' <"$site/rk/software/version"); lighting controller at release $release" \
        "(TARVENHOLM_FIRMWARE_RELEASE=0x0105 to see the offer again after an update)"
}

if display_works; then
    prepare_wine_prefix
    trap stop_simulated_machine EXIT
    start_simulated_machine
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
