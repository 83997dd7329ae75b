#!/usr/bin/env bash
# First-start language rules, seen from outside: the UI language of a Wine
# process comes from its LANG, so each case starts the language probe (which
# runs the start-up language step and prints the language of this run)
# under another LANG and reads the stored LCID with Wine's reg.
set -uo pipefail
BIN="$1"
RUN="$(dirname "$0")/../../../scripts/wine-run.sh"
KEY='HKCU\SOFTWARE\Tarvenholm'
failures=0

stored_lcid() {
    "$RUN" reg query "$KEY" /v LCID 2>/dev/null | tr -d '\r' | awk '$1 == "LCID" { print $3 }'
}

check() {  # name, expected, actual
    if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

probe() {  # LANG → the language the probe chose for its run
    LANG="$1" LC_ALL= "$RUN" "$BIN/language_probe.exe" 2>/dev/null | tr -d '\r'
}

# locale, language of this run, language stored for later runs
while read -r locale runs stored; do
    "$RUN" reg delete "$KEY" /f >/dev/null 2>&1
    check "$locale runs" "$runs" "$(probe "$locale")"
    check "$locale stores" "$stored" "$(stored_lcid)"
done <<'CASES'
zh_CN.UTF-8 2052 2052
zh_TW.UTF-8 1028 1028
fr_FR.UTF-8 1036 1033
de_DE.UTF-8 1031 1033
en_US.UTF-8 1033 1033
CASES

# A stored language wins over the locale; text that is no number is a first start.
"$RUN" reg add "$KEY" /v LCID /t REG_SZ /d 1031 /f >/dev/null 2>&1
check "stored 1031 under zh_CN" 1031 "$(probe zh_CN.UTF-8)"
"$RUN" reg add "$KEY" /v LCID /t REG_SZ /d German /f >/dev/null 2>&1
check "non-numeric LCID under zh_CN" 2052 "$(probe zh_CN.UTF-8)"
check "non-numeric LCID replaced" 2052 "$(stored_lcid)"
"$RUN" reg delete "$KEY" /f >/dev/null 2>&1

[ "$failures" = 0 ]
