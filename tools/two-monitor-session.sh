#!/usr/bin/env bash
# A Wine session with two monitors, for the tests that need more than one: Xorg with the dummy
# video driver (Xvfb cannot put two monitors side by side for Wine), a 1024x768 primary and an
# 800x600 second monitor to its right or to its left, and Wine without a virtual desktop (which
# would be one monitor), so without a taskbar. Its own X display, Wine prefix and state folder;
# tools/wine-session.sh runs the Wine part.
#
#   two-monitor-session.sh start STATE LAYOUT     LAYOUT: right or left (of the primary)
#   two-monitor-session.sh stop  STATE
#   two-monitor-session.sh run   STATE PROG ARGS  wine PROG ARGS in the running session
#
# Wine reads the monitors once, when its session starts: a start always makes the whole session
# anew. Xorg needs root.
set -euo pipefail

TOOLS=$(cd "$(dirname "$0")" && pwd)
readonly TOOLS
# shellcheck source=tools/session-common.sh
. "$TOOLS/session-common.sh"

readonly FIRST_DISPLAY=120 DISPLAY_TRIES=40
readonly MODE_NAME=800x600_second MODE_LINE='40.00 800 840 968 1056 600 601 605 628'

set_paths() {
    [[ -n ${1:-} ]] || usage
    STATE=$(mkdir -p "$1" && cd "$1" && pwd)
    DISPLAY_FILE=$STATE/display
    XORG_LOG=$STATE/xorg.log
}

# Wine's own session on our display; wine-session.sh knows the rest.
wine_session() {
    TESSARO_USE_DISPLAY=1 TESSARO_WINE_DESKTOP=none DISPLAY=:$(<"$DISPLAY_FILE") \
        "$TOOLS/wine-session.sh" "$1" "$STATE/wine" "${@:2}"
}

# The Xorg of this session, if it still runs: its command line names our config.
xorg_pid() {
    local pid
    pid=$(<"$STATE/xorg.pid") 2>/dev/null || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "-config $STATE/xorg.conf " || return 1
    echo "$pid"
}

cmd_stop() {
    [[ -r $DISPLAY_FILE ]] || return 0
    wine_session stop
    local pid i
    if pid=$(xorg_pid); then
        kill "$pid"
        for ((i = 0; i < 100; i++)); do
            [[ -e /proc/$pid ]] || break
            sleep 0.05
        done
        [[ ! -e /proc/$pid ]] || kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -f "$DISPLAY_FILE" "$STATE/xorg.pid"
}

write_config() {
    mkdir -p "$STATE/xorg.conf.d"
    cat >"$STATE/xorg.conf" <<'EOF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2048 1024
    EndSubSection
EndSection
EOF
}

start_xorg() {
    write_config
    # The empty config folder keeps the machine's own snippets out.
    start_x_server "$FIRST_DISPLAY" "$DISPLAY_TRIES" "$STATE/xorg.display" "$STATE/xorg.out" \
        Xorg -config "$STATE/xorg.conf" -configdir "$STATE/xorg.conf.d" -noreset -nolisten tcp -logfile "$XORG_LOG"
    echo "$X_PID" >"$STATE/xorg.pid"
    echo "${X_DISPLAY#:}" >"$DISPLAY_FILE"
}

# The 800x600 second monitor beside the primary; waits until the server reports both.
arrange_monitors() {
    local layout=$1 expected listed deadline=$((SECONDS + 30))
    export DISPLAY=:$(<"$DISPLAY_FILE")
    xrandr --newmode "$MODE_NAME" $MODE_LINE
    xrandr --addmode DUMMY1 "$MODE_NAME"
    case $layout in
    right)
        xrandr --output DUMMY1 --mode "$MODE_NAME" --right-of DUMMY0
        expected='DUMMY0 1024/[0-9]+x768/[0-9]+\+0\+0 .*DUMMY1 800/[0-9]+x600/[0-9]+\+1024\+0 '
        ;;
    left)
        xrandr --output DUMMY1 --mode "$MODE_NAME" --left-of DUMMY0 --output DUMMY0 --primary
        expected='DUMMY0 1024/[0-9]+x768/[0-9]+\+800\+0 .*DUMMY1 800/[0-9]+x600/[0-9]+\+0\+0 '
        ;;
    esac
    until listed=$(xrandr --listmonitors | tr '\n' ' ') && [[ $listed =~ ^Monitors:\ 2\  && $listed =~ $expected ]]; do
        ((SECONDS < deadline)) || die "the monitors are not arranged after 30 s: $listed"
        sleep 0.1
    done
}

cmd_start() {
    local layout=${1:-}
    [[ $layout == right || $layout == left ]] || usage
    (($(id -u) == 0)) || die "Xorg with the dummy driver needs root"
    cmd_stop
    # Leave nothing running if any step below fails.
    trap cmd_stop EXIT
    start_xorg
    arrange_monitors "$layout"
    wine_session start
    trap - EXIT
    say "second monitor $layout of the primary on DISPLAY=:$(<"$DISPLAY_FILE")"
}

cmd_run() {
    xorg_pid >/dev/null || die "no two-monitor session in $STATE (start it first)"
    wine_session run "$@"
}

session_main "$@"
