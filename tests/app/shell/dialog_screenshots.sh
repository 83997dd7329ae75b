#!/usr/bin/env bash
# Pictures of the message box and the update progress dialog as the modal
# tests open them, under the private Xvfb and Wine prefix: build x86_64
# first.
#   tests/app/shell/dialog_screenshots.sh [folder]
set -euo pipefail
out=$(realpath -m "${1:-dialog-screenshots}")
mkdir -p "$out"
. "$(dirname "$0")/../../../scripts/wine-env.sh"
trap stop_wine_world EXIT
start_display
prepare_wine_prefix
start_wineserver
cd "$TARVENHOLM_ROOT/build/x86_64/bin"

# shot <program> <gtest filter> <picture> : holds the dialog 3 s and takes the screen.
shot() {
    TARVENHOLM_HOLD_DIALOG_MS=3000 WINEDEBUG=-all "$WINE" "./$1" --gtest_filter="$2" >/dev/null &
    local test=$!
    sleep "${SHOT_DELAY:-4}"
    import -window root -crop 1080x760+0+0 "$out/$3"
    wait "$test"
}
shot app_message_box_test.exe 'MessageBoxTest.OneButtonBoxIsCentredTopmostAndAnswersOne' message-box-one-button.png
shot app_message_box_test.exe 'MessageBoxTest.TwoButtonsSitAroundTheMiddleWithTheirTexts' message-box-two-buttons.png
shot update_progress_dialog_test.exe 'UpdateProgressModalTest.*' update-progress-55.png
echo "pictures in $out"
