#!/usr/bin/env bash
# Runs one Windows program in the project's Wine prefix: the emulator of the
# cross builds, so ctest and CMake run test programs through it.
. "$(dirname "$0")/wine-env.sh"
# Wine's own services (explorer, services.exe, winedevice) outlive the program
# and inherit its standard streams; had they ctest's pipe, ctest would wait
# for them until its timeout. The output goes through a file instead.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$WINE" "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
exit $status
