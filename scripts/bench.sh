#!/usr/bin/env bash
# Release benchmarks, outside CI: every figure against its floor in the same
# run, written to docs/performance.md with the machine, the Wine version and
# the command.
#   scripts/bench.sh [--runs N] [--cpu-seconds S]
# Builds the 64-bit build first (set TARVENHOLM_SKIP_BUILD=1 to skip). Runs
# under Xvfb when there is no display; the simulated machine runs in a fresh
# state folder under build/bench/. Takes about (runs x 17 s) + 2 x cpu
# seconds + two minutes.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

RUNS=7
CPU_SECONDS=60
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) RUNS="$2"; shift 2 ;;
    --cpu-seconds) CPU_SECONDS="$2"; shift 2 ;;
    *) die "unknown argument $1 (scripts/bench.sh [--runs N] [--cpu-seconds S])" ;;
    esac
done
COMMAND="scripts/bench.sh --runs $RUNS --cpu-seconds $CPU_SECONDS"

build_x86_64_unless_skipped
BIN="$TARVENHOLM_ROOT/build/x86_64/bin"
OUT="$TARVENHOLM_ROOT/build/bench"
DOC="$TARVENHOLM_ROOT/docs/performance.md"
PY=/usr/bin/python3  # Debian's, with python3-xlib
for exe in Tarvenholm MinimalWindow PaintBench TelemetryBench ResourceProbe SnapshotWriter; do
    [ -f "$BIN/$exe.exe" ] || die "$BIN/$exe.exe is missing: build x86_64 first"
done
rm -rf "$OUT" && mkdir -p "$OUT/sim"

trap stop_run_and_exit EXIT
start_display
prepare_wine_prefix
start_wineserver
TARVENHOLM_SIM_DIR="$("$WINE" winepath -w "$OUT/sim" 2>/dev/null | tr -d '\r')"
export TARVENHOLM_SIM_DIR
(cd "$BIN" && exec "$WINE" ./SnapshotWriter.exe >/dev/null 2>&1) &
SNAPSHOT_WRITER=$!
sleep 1

# 1. Start to first painted frame, and the resident set at the end of each run.
log "start to first painted frame ($RUNS runs each, alternating)"
"$PY" "$TARVENHOLM_ROOT/tests/bench/first_paint.py" --bin "$BIN" --wine "$WINE" --runs "$RUNS" --seconds 8 \
    Tarvenholm.exe MinimalWindow.exe | tee "$OUT/first_paint.txt"

# 2. Wine's own working-set figure of the running program, after start.
log "working set after start"
(cd "$BIN" && exec "$WINE" ./Tarvenholm.exe >/dev/null 2>&1) &
program=$!
sleep 10
(cd "$BIN" && "$WINE" ./ResourceProbe.exe Tarvenholm.exe) | tr -d '\r' | tee "$OUT/probe.txt"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
sleep 2

# 3. Repaints of the main window, in one process.
log "repaints of the main window"
# The window's worker writes the sensor diagnostics to the same output.
(cd "$BIN" && "$WINE" ./PaintBench.exe 100) | tr -d '\r' | grep -aE '^[a-z_]+=' | tee "$OUT/paint.txt"
(cd "$BIN" && "$WINE" ./PaintBench.exe profile) | tr -d '\r' | grep -aE '^[a-z]' >"$OUT/paint-profile.txt"
sleep 2

# 4. One telemetry pass against the raw sensor queries.
log "telemetry pass against the raw sensor queries"
(cd "$BIN" && "$WINE" ./TelemetryBench.exe 500) | tr -d '\r' | tee "$OUT/telemetry.txt"

# 5. A click on a performance tab to the first port write, 100 clicks.
log "click on a performance tab to the first port write (100 clicks)"
"$PY" "$TARVENHOLM_ROOT/scripts/measure_click_latency.py" "$BIN" 100 | tee "$OUT/click.txt" || true
sleep 2

# 6. CPU while idle (ends the wineserver: last).
log "CPU while idle, hidden and shown ($CPU_SECONDS s each)"
"$TARVENHOLM_ROOT/tests/app/telemetry/measure_program_cpu.sh" "$CPU_SECONDS" | tee "$OUT/cpu.txt"

log "writing $DOC"
"$PY" "$TARVENHOLM_ROOT/tests/bench/write_performance.py" --results "$OUT" --skins "$BIN/skins/theme1" \
    --wine-version "$("$WINE" --version)" --command "$COMMAND" --doc "$DOC"
log "done: $DOC"
