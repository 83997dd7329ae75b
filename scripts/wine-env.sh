# The private Wine world of the build, the tests and the run. Sourced, not run.
#   prepare_wine_prefix   creates and configures the prefix once
#   start_display         starts Xvfb when there is no usable display
#   start_wineserver      keeps one persistent wineserver for the run
#   stop_wine_world       ends the wineserver and the Xvfb started here
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

export WINEPREFIX="${TARVENHOLM_WINEPREFIX:-$TARVENHOLM_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# This file is sourced before setup has run, and on a new machine Wine is
# not there yet: the lookup never fails here, and require_wine, called once
# setup is done, says plainly when Wine is still missing.
locate_wine() {
    WINE="$(command -v wine64 || true)"
    [ -n "$WINE" ] || WINE=/usr/lib/wine/wine64
    [ -x "$WINE" ] || WINE="$(command -v wine || echo wine)"
    WINESERVER="$(command -v wineserver || echo /usr/lib/wine/wineserver64)"
    export WINE WINESERVER
}
require_wine() {
    locate_wine
    # locate_wine leaves a path, or the bare name "wine" when none was found.
    [ -x "$WINE" ] || die "Wine is not installed (scripts/setup.sh installs it)"
}
locate_wine

TARVENHOLM_XVFB_PID=""

display_works() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

start_display() {
    display_works && return 0
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${TARVENHOLM_SCREEN:-1920x1080x24}" -nolisten tcp >/dev/null 2>&1 &
        TARVENHOLM_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 50); do display_works && return 0; sleep 0.1; done
        die "Xvfb did not start on :$n"
    done
    die "no free X display number"
}

# Face names the framework and the program ask for, mapped to Debian's fonts
# so that GDI and GDI+ text renders under Wine, CJK included. Wine finds the
# links of a bold face under the face's full name ("Open Sans Bold"), not its
# family: without those entries bold CJK text shows boxes.
write_font_settings() {
    local reg="$WINEPREFIX/tarvenholm-fonts.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Segoe UI"="Open Sans"
"Segoe UI Semibold"="Open Sans SemiBold"
"Arial"="Liberation Sans"
"Tahoma"="DejaVu Sans"
"Microsoft Sans Serif"="DejaVu Sans"
"MS Shell Dlg"="DejaVu Sans"
"MS Shell Dlg 2"="DejaVu Sans"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"MS UI Gothic"="WenQuanYi Micro Hei"
"Meiryo"="WenQuanYi Micro Hei"
"PMingLiU"="WenQuanYi Micro Hei"
"Microsoft JhengHei"="WenQuanYi Micro Hei"
"msjh"="WenQuanYi Micro Hei"
"Yu Gothic UI"="WenQuanYi Micro Hei"
"Meiryo UI"="WenQuanYi Micro Hei"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Open Sans"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"Segoe UI"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"Open Sans Semibold"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"Open Sans SemiBold"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"Open Sans Extrabold"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"DejaVu Sans"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"Liberation Sans"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"Tahoma"="wqy-microhei.ttc,WenQuanYi Micro Hei"
; Wine looks links up by the chosen face's full name: bold text picks the
; "... Bold" faces, which need links of their own or CJK turns into boxes.
"Open Sans Bold"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"DejaVu Sans Bold"="wqy-microhei.ttc,WenQuanYi Micro Hei"
"Liberation Sans Bold"="wqy-microhei.ttc,WenQuanYi Micro Hei"
REG
    "$WINE" regedit /S "$reg" >/dev/null 2>&1
}

prepare_wine_prefix() {
    require_wine
    local stamp="$WINEPREFIX/.tarvenholm-prefix-v2"
    # The font settings carry their own stamp, so that a prefix made before
    # they changed takes the new ones without being made again.
    local fonts="$WINEPREFIX/.tarvenholm-fonts-v4"
    if [ ! -f "$stamp" ]; then
        log "creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1 || true
        "$WINESERVER" -w
        touch "$stamp"
    fi
    [ -f "$fonts" ] && return 0
    # regedit returns once the server holds the values; no waiting for the
    # server to end, which a persistent one never does.
    write_font_settings
    touch "$fonts"
}

start_wineserver() {
    require_wine
    "$WINESERVER" -p >/dev/null 2>&1 || true
}

stop_wine_world() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -n "$TARVENHOLM_XVFB_PID" ]; then
        kill "$TARVENHOLM_XVFB_PID" 2>/dev/null || true
        wait "$TARVENHOLM_XVFB_PID" 2>/dev/null || true
        TARVENHOLM_XVFB_PID=""
    fi
}

# The measuring and picture scripts build the 64-bit program first, unless
# TARVENHOLM_SKIP_BUILD=1 says the existing build is to be used.
build_x86_64_unless_skipped() {
    if [ "${TARVENHOLM_SKIP_BUILD:-0}" != 1 ]; then
        "$TARVENHOLM_ROOT/scripts/setup.sh"
        TARVENHOLM_SKIP_SETUP=1 "$TARVENHOLM_ROOT/scripts/build.sh" x86_64
    fi
    require_wine
}

# Ends what such a script started: the program ($PROGRAM) and the snapshot
# writer ($SNAPSHOT_WRITER) where set, then Wine and the script's Xvfb. As
# the EXIT trap it keeps the run's own status as the script's exit code.
PROGRAM=""
SNAPSHOT_WRITER=""
stop_run_and_exit() {
    local status=$?
    [ -n "$PROGRAM" ] && kill "$PROGRAM" 2>/dev/null || true
    [ -n "$SNAPSHOT_WRITER" ] && kill "$SNAPSHOT_WRITER" 2>/dev/null || true
    stop_wine_world
    exit "$status"
}
