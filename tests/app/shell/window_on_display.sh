#!/usr/bin/env bash
# The main window as the X display sees it: titled "Tarvenholm", 1500 × 840,
# centred on the screen; closing it from the window manager's side ends the
# run through the teardown, exit code 1.
set -uo pipefail
BIN="$1"
RUN="$(dirname "$0")/../../../scripts/wine-run.sh"
failures=0
check() {  # name, expected, actual
    if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

(cd "$BIN" && exec "$RUN" ./Tarvenholm.exe) &
program=$!
window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvenholm$' | head -n1)"
if [ -z "$window" ]; then
    echo "FAILED: no visible window named Tarvenholm"
    kill "$program" 2>/dev/null
    exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
check "width" 1500 "$WIDTH"
check "height" 840 "$HEIGHT"
check "centred horizontally" $(((screen_w - 1500) / 2)) "$X"
check "centred vertically" $(((screen_h - 840) / 2)) "$Y"

# Alt+F4 through the X server's test extension, as a person would press it.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key alt+F4
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$program" 2>/dev/null; then
    check "program ended after Alt+F4" ended running
    kill "$program"
else
    wait "$program"
    check "exit code after the window closed" 1 $?
fi
[ "$failures" = 0 ]
