#!/usr/bin/env bash
# Runs the gallery's light and system controls window under the private Xvfb
# and Wine prefix and saves a picture of it: scripts/build.sh x86_64 first.
#   tests/hvui/gallery/screenshot-controls.sh [out.png]
set -euo pipefail
out=$(realpath -m "${1:-gallery-controls.png}")
. "$(dirname "$0")/../../../scripts/wine-env.sh"
trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver
cd "$TARVENHOLM_ROOT/build/x86_64/bin"
"$WINE" ./hvui_gallery.exe --controls 5 &
gallery=$!
# Long enough for the feed thread to have set every gauge a few times.
sleep 3.5
import -window root -crop 1240x700+0+0 "$out"
# Only the gallery: the display started above is a child of this shell too.
wait "$gallery"
