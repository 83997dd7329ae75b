#!/usr/bin/env bash
# Runs the gallery's demo under the private Xvfb and Wine prefix and saves a
# picture of the screen: scripts/build.sh x86_64 first.
#   tests/hvui/gallery/screenshot.sh [out.png]
set -euo pipefail
out=$(realpath -m "${1:-gallery-screenshot.png}")
. "$(dirname "$0")/../../../scripts/wine-env.sh"
trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver
cd "$TARVENHOLM_ROOT/build/x86_64/bin"
"$WINE" ./hvui_gallery.exe --demo 5 &
sleep 3.2
import -window root -crop 1100x720+0+0 "$out"
wait
