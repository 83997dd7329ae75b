#!/usr/bin/env bash
# Measurement outside CI: the CPU time Tarvenholm.exe uses on the simulated
# machine over a fixed window, once started hidden (-hide) and once shown.
# The worker's idle telemetry refresh is the program's steady work, so this
# is its cost as a user's machine would see it.
#   tests/app/telemetry/measure_program_cpu.sh [seconds]   (default 60)
# Prints the percentage of one core for each run. Needs the x86_64 build.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../../.." && pwd)"
. "$ROOT/scripts/wine-env.sh"
BIN="$ROOT/build/x86_64/bin"
WINDOW_S="${1:-60}"
WARMUP_S=8  # start-up, inventory and device initialisation are not steady work
CLOCK_TICKS="$(getconf CLK_TCK)"

trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

measure() {  # label, program arguments...
    local label="$1"
    shift
    (cd "$BIN" && exec "$WINE" ./Tarvenholm.exe "$@" >/dev/null 2>&1) &
    local pid=$!
    sleep "$WARMUP_S"
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "$label: the program ended during start-up" >&2
        return 1
    fi
    # wine replaces itself with the program in the same process.
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q 'Tarvenholm.exe' || {
        echo "$label: process $pid is not the program" >&2
        kill "$pid" 2>/dev/null || true
        return 1
    }
    local before after
    before="$(cpu_ticks "$pid")"
    sleep "$WINDOW_S"
    after="$(cpu_ticks "$pid")"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v t=$((after - before)) -v hz="$CLOCK_TICKS" -v s="$WINDOW_S" -v l="$label" \
        'BEGIN { printf "%s: %.2f s CPU in %d s = %.2f %% of one core\n", l, t / hz, s, 100 * t / hz / s }'
    # The single-instance mutex of the ended copy must be gone before the next start.
    sleep 2
}

measure "hidden" -hide
measure "shown"
