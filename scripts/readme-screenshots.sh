#!/usr/bin/env bash
# The README's screenshots, taken from the running program under Xvfb on the
# simulated machine: docs/screenshots/system.png (system page with live
# telemetry), light.png (light page) and settings.png (the settings popup
# open), in English.
#   scripts/readme-screenshots.sh
# Set TARVENHOLM_SKIP_BUILD=1 to use the existing 64-bit build.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

build_x86_64_unless_skipped
BIN="$TARVENHOLM_ROOT/build/x86_64/bin"
SHOTS="$TARVENHOLM_ROOT/docs/screenshots"
WORK="$TARVENHOLM_ROOT/build/readme-screenshots"
rm -rf "$WORK" && mkdir -p "$WORK/sim" "$SHOTS"

trap stop_run_and_exit EXIT
# Always a private Xvfb: the pictures must not show another desktop.
unset DISPLAY
start_display
prepare_wine_prefix
start_wineserver
"$WINE" reg add 'HKCU\Software\Tarvenholm' /v LCID /t REG_SZ /d 1033 /f >/dev/null 2>&1
TARVENHOLM_SIM_DIR="$("$WINE" winepath -w "$WORK/sim" 2>/dev/null | tr -d '\r')"
export TARVENHOLM_SIM_DIR
(cd "$BIN" && exec "$WINE" ./SnapshotWriter.exe >/dev/null 2>&1) &
SNAPSHOT_WRITER=$!

(cd "$BIN" && exec "$WINE" ./Tarvenholm.exe >/dev/null 2>&1) &
PROGRAM=$!
window="$(timeout 30 xdotool search --sync --onlyvisible --name '^Tarvenholm$' | head -n1)"
[ -n "$window" ] || die "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"

shot() {  # name
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$SHOTS/$1.png"
    log "saved docs/screenshots/$1.png"
}
click() {  # client x y
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}
park_pointer() { xdotool mousemove $((X + WIDTH / 2)) $((Y + 5)); }

# Telemetry needs a few refreshes and the inventory its WMI queries.
park_pointer
sleep 8
shot system
click 128 621  # navigation column: light page
park_pointer
sleep 2
shot light
click 128 247  # navigation column: system page
sleep 1
click 1355 25  # settings button
park_pointer
sleep 2
shot settings
