#!/usr/bin/env bash
# Soak run, outside CI: the program on the simulated machine with its window
# shown for the given minutes while a script changes performance modes and
# light settings every few seconds, unplugs and replugs the lighting device
# and the telemetry refresh runs. Every minute it samples the program's
# handles, GDI and USER objects and working set; at the end it checks that
# the last value of every setting it changed is in the store. Writes
# docs/soak.md and docs/soak.png.
#   scripts/soak.sh [minutes]      (default 60)
# Set TARVENHOLM_SKIP_BUILD=1 to use the existing 64-bit build.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

MINUTES="${1:-60}"
STEP_S=4          # seconds between two actions
WARMUP_S=10       # start-up, inventory and device initialisation

build_x86_64_unless_skipped
BIN="$TARVENHOLM_ROOT/build/x86_64/bin"
OUT="$TARVENHOLM_ROOT/build/soak"
PY=/usr/bin/python3  # Debian's, with python3-matplotlib
rm -rf "$OUT" && mkdir -p "$OUT/sim"
SAMPLES="$OUT/samples.csv"
ACTIONS="$OUT/actions.log"

trap stop_run_and_exit EXIT
start_display
prepare_wine_prefix
start_wineserver
# A store without the program's values, so that every value found at the
# end was written during this run.
"$WINE" reg delete 'HKCU\Software\Tarvenholm' /f >/dev/null 2>&1 || true
TARVENHOLM_SIM_DIR="$("$WINE" winepath -w "$OUT/sim" 2>/dev/null | tr -d '\r')"
export TARVENHOLM_SIM_DIR
(cd "$BIN" && exec "$WINE" ./SnapshotWriter.exe >/dev/null 2>&1) &
SNAPSHOT_WRITER=$!

(cd "$BIN" && exec "$WINE" ./Tarvenholm.exe >"$OUT/program.out" 2>&1) &
PROGRAM=$!
window="$(timeout 30 xdotool search --sync --onlyvisible --name '^Tarvenholm$' | head -n1)"
[ -n "$window" ] || die "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
WX=$X
WY=$Y
log "window at $WX,$WY; soak for $MINUTES minutes, state in $OUT"
sleep "$WARMUP_S"

# ---- the user's actions, at client coordinates of the main window -----------
click() {  # x y
    xdotool mousemove $((WX + $1)) $((WY + $2)) click 1 || log "xdotool could not click at $1,$2"
    echo "$(date +%T) click $1 $2" >>"$ACTIONS"
}
# Navigation column items, performance tabs, light mode tiles, the lighting
# switch, slider positions (value v of a slider at left L with a 154-pixel
# thumb travel and n values is at L + (v + 0.5) * 154 / n) and colour wheel.
SYSTEM_PAGE=(128 247)
LIGHT_PAGE=(128 621)
perf_tab() { click $((480 + 200 * $1)) 131; }
light_tile() { click $((270 + 122 * ($1 - 1) + 61)) 696; }
light_switch() { click 680 581; }
slider_x() { echo $((1230 + (2 * $1 + 1) * 154 / (2 * $2))); }
brightness() { click "$(slider_x "$1" 5)" 628; }
speed() { click "$(slider_x "$1" 10)" 688; }
WHEEL_POINTS=("1305 200" "1340 240" "1305 280" "1270 240" "1320 215")
wheel() { click ${WHEEL_POINTS[$1]}; }

declare -A EXPECTED STORED
plug() {  # in|out
    (cd "$BIN" && "$WINE" ./LightingPlug.exe "$1" >/dev/null 2>&1) || log "LightingPlug $1 found no window"
    echo "$(date +%T) plug $1" >>"$ACTIONS"
}
read_store() {  # fills STORED from the settings store
    local name type value
    STORED=()
    while read -r name type value; do
        if [ "$type" = REG_SZ ]; then STORED[$name]="$value"; fi
    done < <("$WINE" reg query 'HKCU\Software\Tarvenholm' 2>/dev/null | tr -d '\r')
}
# Every expected value against the store; a mismatch is logged, not fatal,
# so that the run's samples still come out.
MISMATCHES=0
check_store() {  # round
    local name
    read_store
    for name in "${!EXPECTED[@]}"; do
        if [ "${STORED[$name]:-}" != "${EXPECTED[$name]}" ]; then
            echo "round $1: $name expected '${EXPECTED[$name]}', store has '${STORED[$name]:-}'" >>"$OUT/mismatches.log"
            MISMATCHES=$((MISMATCHES + 1))
        fi
    done
}

# One round of a user's changes, round r. The lighting switch is on while
# the light settings change (off, the colour controls are disabled), and
# every second round ends with it turned off.
ROUND=0
round() {
    local r=$1 mode colour
    click "${SYSTEM_PAGE[@]}"; sleep "$STEP_S"
    perf_tab $((r % 3)); EXPECTED[perfMode]=$((r % 3)); sleep "$STEP_S"
    click "${LIGHT_PAGE[@]}"; sleep "$STEP_S"
    # Nothing stored reads as on, the default the device initialisation applies.
    if [ "${STORED[lightOnOff]:-1}" != 1 ]; then
        light_switch; EXPECTED[lightOnOff]=1; sleep "$STEP_S"
    fi
    mode=$((r % 7 + 1))
    light_tile "$mode"; EXPECTED[lightMode]=$mode; sleep "$STEP_S"
    brightness $((r % 5)); EXPECTED[lightBrightness]=$((r % 5)); sleep "$STEP_S"
    if [ "$mode" = 4 ]; then
        colour="${STORED[lightColor]:-}"
        wheel $((r / 7 % ${#WHEEL_POINTS[@]})); sleep "$STEP_S"
        read_store
        [ "${STORED[lightColor]:-}" != "$colour" ] ||
            echo "round $r: lightColor unchanged ('$colour') after a click on the colour wheel" >>"$OUT/mismatches.log"
        EXPECTED[lightColor]="${STORED[lightColor]:-}"
    else
        speed $(((r * 3) % 10)); EXPECTED[lightSpeed]=$(((r * 3) % 10)); sleep "$STEP_S"
    fi
    if [ $((r % 2)) = 1 ]; then
        light_switch; EXPECTED[lightOnOff]=0; sleep "$STEP_S"
    fi
    if [ $((r % 3)) = 2 ]; then
        plug out; sleep "$STEP_S"
        plug in; sleep "$STEP_S"
    fi
    check_store "$r"
}

# ---- the minute samples, beside the actions ------------------------------------
echo "minute,handles,gdi,user,workingset_kb,rss_kb" >"$SAMPLES"
sample() {  # minute
    local line rss handles="" gdi="" user="" workingset=""
    line="$(cd "$BIN" && "$WINE" ./ResourceProbe.exe Tarvenholm.exe 2>/dev/null | tr -d '\r')" || line=""
    rss="$(awk '/^VmRSS:/ {print $2}' "/proc/$PROGRAM/status" 2>/dev/null || echo -1)"
    for field in $line; do
        case "$field" in
        handles=*) handles="${field#*=}" ;; gdi=*) gdi="${field#*=}" ;;
        user=*) user="${field#*=}" ;; workingset=*) workingset="${field#*=}" ;;
        esac
    done
    echo "$1,${handles:--1},${gdi:--1},${user:--1},$(( ${workingset:-0} / 1024 )),${rss:--1}" >>"$SAMPLES"
}
start=$(date +%s)
(
    for minute in $(seq 0 "$MINUTES"); do
        sleep $((start + 60 * minute - $(date +%s) > 0 ? start + 60 * minute - $(date +%s) : 0))
        kill -0 "$PROGRAM" 2>/dev/null || exit 0
        sample "$minute"
    done
) &
SAMPLER=$!

crashed=0
end=$((start + 60 * MINUTES))
read_store
while [ "$(date +%s)" -lt "$end" ]; do
    if ! kill -0 "$PROGRAM" 2>/dev/null; then
        crashed=1
        log "the program ended during the soak"
        break
    fi
    round "$ROUND"
    ROUND=$((ROUND + 1))
done
wait "$SAMPLER" 2>/dev/null || true
kill -0 "$PROGRAM" 2>/dev/null || crashed=1

# ---- the store at the end -----------------------------------------------------
STORE="$OUT/store.txt"
"$WINE" reg query 'HKCU\Software\Tarvenholm' 2>/dev/null | tr -d '\r' >"$STORE" || true
: >"$OUT/expected.txt"
for name in "${!EXPECTED[@]}"; do echo "$name=${EXPECTED[$name]}" >>"$OUT/expected.txt"; done
echo "crashed=$crashed rounds=$ROUND minutes=$MINUTES step_s=$STEP_S round_mismatches=$MISMATCHES" >"$OUT/run.txt"
kill "$PROGRAM" 2>/dev/null || true
PROGRAM=""

"$PY" "$TARVENHOLM_ROOT/tests/bench/write_soak.py" --results "$OUT" --doc "$TARVENHOLM_ROOT/docs/soak.md" \
    --plot "$TARVENHOLM_ROOT/docs/soak.png" --command "scripts/soak.sh $MINUTES" --wine-version "$("$WINE" --version)"
log "done: docs/soak.md, docs/soak.png"
