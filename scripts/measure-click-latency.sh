#!/usr/bin/env bash
# Measures, outside CI, the time from a click on a performance tab to the
# first port write of its sequence over 100 clicks (or the number given) and
# prints p50 and p99; exit code 1 when p99 is above 70 ms. Builds the 64-bit
# program first; runs under Xvfb when there is no display.
#   scripts/measure-click-latency.sh [CLICKS [FIRST_CLICK_AFTER_S]]
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

[ "${TARVENHOLM_SKIP_BUILD:-0}" = 1 ] || "$TARVENHOLM_ROOT/scripts/build.sh" x86_64

trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver
python3 "$TARVENHOLM_ROOT/scripts/measure_click_latency.py" "$TARVENHOLM_ROOT/build/x86_64/bin" "$@"
