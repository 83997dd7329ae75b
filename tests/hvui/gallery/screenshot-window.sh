#!/usr/bin/env bash
# Runs the gallery's main window and specimen sheet under the private Xvfb and
# Wine prefix and saves their pictures into a folder: scripts/build.sh x86_64
# first.
#   tests/hvui/gallery/screenshot-window.sh [folder]
# With the gallery's own test pictures, in English:
#   window-system.png      language selector open, minimise button lit
#   window-light.png       light page, colour block disabled under its cover
#   window-settings.png    settings popup open, update button lit
#   specimens.png          every look of the pictures, texts, areas, buttons, tabs, boxes, menu
# With the shipped skin and the language files:
#   window-<LCID>-<scene>.png, the three scenes for 2052 and 1045
set -euo pipefail
out=$(realpath -m "${1:-gallery-window}")
mkdir -p "$out"
. "$(dirname "$0")/../../../scripts/wine-env.sh"
trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver
cd "$TARVENHOLM_ROOT/build/x86_64/bin"

# shot <picture> <width>x<height> <gallery arguments...>
shot() {
    local picture="$1" size="$2"
    shift 2
    "$WINE" ./hvui_gallery.exe "$@" --seconds 5 &
    local gallery=$!
    # The window paints, the scene is driven, the popups open.
    sleep 3.5
    import -window root -crop "$size+0+0" "$out/$picture"
    wait "$gallery"
}

scenes=(system light settings)
for scene in "${scenes[@]}"; do
    shot "window-$scene.png" 1500x840 --window --test-skin --scene "$scene"
done
shot specimens.png 1400x760 --specimens --test-skin
for lcid in 2052 1045; do
    for scene in "${scenes[@]}"; do
        shot "window-$lcid-$scene.png" 1500x840 --window --lang "$lcid" --scene "$scene"
    done
done
