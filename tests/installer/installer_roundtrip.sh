#!/usr/bin/env bash
# The test setup installed silently into a fresh Wine prefix: the installed
# program starts hidden, a second start brings its window onto the display,
# and the silent uninstaller removes the program's files but keeps the
# user's settings.
#   installer_roundtrip.sh <build dir>
set -uo pipefail
BUILD="$1"
. "$(dirname "$0")/../../scripts/wine-env.sh"

failures=0
check() {  # name, expected, actual
    if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
exists() { [ -e "$1" ] && echo yes || echo no; }

cmake --build "$BUILD" --target installer >/dev/null || { echo "FAILED: installer build"; exit 1; }
SETUP="$(ls "$BUILD"/installer/Tarvenholm-*-x64-setup.exe | head -n1)"

export WINEPREFIX="$BUILD/installer-test-prefix"
rm -rf "$WINEPREFIX"
prepare_wine_prefix
start_wineserver
trap '"$WINESERVER" -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT

"$WINE" "$SETUP" /S >/dev/null 2>&1
check "setup exit code" 0 $?
DIR="$WINEPREFIX/drive_c/Program Files/Tarvenholm"
for f in Tarvenholm.exe HVUI.dll libhidapi.dll Uninstall.exe; do check "installed $f" yes "$(exists "$DIR/$f")"; done
check "start menu entry" yes "$(exists "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarvenholm.lnk")"

# The machine's own port library goes beside the program, as the setup's last
# page tells the user; here the simulated machine's.
cp "$BUILD/bin/WinRing0.dll" "$DIR/"
(cd "$DIR" && exec "$WINE" ./Tarvenholm.exe -hide >/dev/null 2>&1) &
program=$!
sleep 4
check "hidden start still running" yes "$(kill -0 "$program" 2>/dev/null && echo yes || echo no)"
(cd "$DIR" && "$WINE" ./Tarvenholm.exe >/dev/null 2>&1)
check "second start exit code" 0 $?
window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvenholm$' | head -n1)"
check "window shown by the second start" yes "$([ -n "$window" ] && echo yes || echo no)"
# The exit request another process may send (message 0x69B, 610) ends it
# with code 0, as the tray menu's exit item does.
"$WINE" "$BUILD/bin/WindowProbe.exe" post 0x69B 0 610 >/dev/null 2>&1
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
if kill "$program" 2>/dev/null; then
    check "program ended by the exit request" ended running
else
    wait "$program"
    check "exit code after the exit request" 0 $?
fi

# The uninstaller runs from a copy of itself in the temp folder and returns
# at once: wait for its work to show.
"$WINE" "$DIR/Uninstall.exe" /S >/dev/null 2>&1
check "uninstall exit code" 0 $?
for _ in $(seq 150); do [ -e "$DIR/Tarvenholm.exe" ] || break; sleep 0.2; done
sleep 1
for f in Tarvenholm.exe HVUI.dll libhidapi.dll Uninstall.exe skins language; do check "removed $f" no "$(exists "$DIR/$f")"; done
check "start menu entry removed" no "$(exists "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarvenholm.lnk")"
"$WINE" reg query 'HKCU\Software\Tarvenholm' >/dev/null 2>&1
check "settings kept by the silent uninstall" 0 $?
[ "$failures" = 0 ]
