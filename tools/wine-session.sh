#!/usr/bin/env bash
# One private Wine session (prefix, Xvfb, wineserver, "shell" virtual desktop)
# per build tree, so tests never start Wine helpers that inherit their pipes.
#
#   wine-session.sh start STATE           start (idempotent, fast when running)
#   wine-session.sh stop  STATE           stop everything this session started
#   wine-session.sh run   STATE PROG ARGS  ensure the session, exec wine PROG ARGS
#   wine-session.sh env   STATE           print STATE/session.env
#
# TESSARO_USE_DISPLAY=1 with DISPLAY set: use that display instead of Xvfb.
# TESSARO_WINE_DESKTOP=none: no virtual desktop, so no taskbar; Wine shows the X screen's own
# monitors (tools/two-monitor-session.sh). The prefix remembers which it was made for.
# TESSARO_WINE_XSCREEN=WxH: an Xvfb screen of that size (the desktop still starts at 1024x768, and
# may grow to it: the benchmark's 3840x2160 figure). A running session of another size is made anew.
set -euo pipefail
# shellcheck source=tools/session-common.sh
. "$(dirname "$0")/session-common.sh"

readonly SCREEN_W=1024 SCREEN_H=768
readonly FIRST_DISPLAY=90 DISPLAY_TRIES=40
readonly DESKTOP=${TESSARO_WINE_DESKTOP:-shell}
readonly X_SCREEN=${TESSARO_WINE_XSCREEN:-${SCREEN_W}x${SCREEN_H}}

ORIG_DISPLAY=${DISPLAY:-}
QUIET=0

# Last lines of a log, to make a failure self-explaining.
die_log() {
    local msg=$1 log=$2
    if [[ -s $log ]]; then
        echo "wine-session: --- last lines of $log ---" >&2
        tail -n 20 "$log" >&2 || true
    fi
    die "$msg"
}

[[ $DESKTOP == shell || $DESKTOP == none ]] || die "TESSARO_WINE_DESKTOP must be shell or none, not '$DESKTOP'"

set_paths() {
    [[ -n ${1:-} ]] || usage
    local dir=$1
    if [[ $dir != /* ]]; then dir=$PWD/$dir; fi
    STATE=$dir
    PREFIX=$STATE/prefix
    ENV_FILE=$STATE/session.env
    PIDS_FILE=$STATE/session.pids
    LOCK_FILE=$STATE/lock
    STAMP=$STATE/prefix.stamp
    FIFO=$STATE/keepalive.fifo
    PREFIX_LOG=$STATE/prefix.log
    XVFB_LOG=$STATE/xvfb.log
    WINE_LOG=$STATE/wine.log
}

# Wine helpers live on after we exit and keep every fd they inherit, so an
# inherited pipe write end (a harness's, make's jobserver) would never see
# EOF. Close all but stdio; skip the fd bash reads this script from.
close_extra_fds() {
    local p fd self
    self=$(readlink -f "${BASH_SOURCE[0]}")
    for p in /proc/"$BASHPID"/fd/*; do
        fd=${p##*/}
        ((fd > 2)) || continue
        [[ $(readlink -f "$p" 2>/dev/null) != "$self" ]] || continue
        eval "exec $fd>&-" 2>/dev/null || true
    done
}

take_lock() {
    mkdir -p "$STATE"
    exec 9>>"$LOCK_FILE"
    # Prefix creation takes a while; concurrent callers just wait for it.
    # Every child started while holding it gets 9>&-, or it would keep the lock.
    flock -w 600 9 || die "timed out waiting for $LOCK_FILE"
}

find_desktop() {
    # Title is "<desktop name> - Wine desktop" (the tail is translated).
    DISPLAY=$1 timeout 5 xdotool search --onlyvisible --name '^shell - ' 2>/dev/null |
        head -n 1 || true
}

# The taskbar is a full-width explorer.exe child of the desktop window,
# flush with its bottom edge.
taskbar_present() {
    local disp=$1 desk=$2 w h y
    while read -r w h y; do
        ((w == SCREEN_W && h > 0 && h < SCREEN_H && y + h == SCREEN_H)) && return 0
    done < <(DISPLAY=$disp timeout 5 xwininfo -children -id "$desk" 2>/dev/null |
        sed -nE 's/.*"explorer\.exe"\) +([0-9]+)x([0-9]+)\+0\+([0-9]+) .*/\1 \2 \3/p')
    return 1
}

# The "shell" virtual desktop with its taskbar; without a virtual desktop, Wine's desktop
# process (explorer.exe, in the keep-alive's session), which every window needs.
desktop_ready() {
    local keepalive=$1 desk
    if [[ $DESKTOP == none ]]; then
        pgrep -s "$keepalive" -r R,S,D -f 'explorer\.exe' >/dev/null
        return
    fi
    desk=$(find_desktop "$SESSION_DISPLAY")
    [[ -n $desk ]] && taskbar_present "$SESSION_DISPLAY" "$desk"
}

# session.pids is written as each process starts, so a start that fails
# half-way still leaves what stop needs; session.env only once all is ready.
load_env() {
    XVFB_TAG='' KEEPALIVE_TAG='' SESSION_DISPLAY='' SESSION_XSCREEN=''
    local f line
    for f in "$PIDS_FILE" "$ENV_FILE"; do
        [[ -r $f ]] || continue
        while IFS= read -r line; do
            case $line in
            'export DISPLAY='*) SESSION_DISPLAY=${line#export DISPLAY=} ;;
            'TESSARO_WINE_XVFB='*) XVFB_TAG=${line#*=} ;;
            'TESSARO_WINE_KEEPALIVE='*) KEEPALIVE_TAG=${line#*=} ;;
            'TESSARO_WINE_XSCREEN='*) SESSION_XSCREEN=${line#*=} ;;
            esac
        done <"$f"
    done
    [[ -r $ENV_FILE ]]
}

record_pid() { echo "TESSARO_WINE_$1=$2" >>"$PIDS_FILE"; }

healthy() {
    load_env || return 1
    [[ -n $SESSION_DISPLAY ]] || return 1
    if [[ ${TESSARO_USE_DISPLAY:-} == 1 && -n $ORIG_DISPLAY ]]; then
        [[ $SESSION_DISPLAY == "$ORIG_DISPLAY" && -z $XVFB_TAG ]] || return 1
    elif [[ -n $XVFB_TAG ]]; then
        proc_alive "$XVFB_TAG" || return 1
        [[ $SESSION_XSCREEN == "$X_SCREEN" ]] || return 1
    else
        return 1
    fi
    proc_alive "$KEEPALIVE_TAG" || return 1
    [[ $DESKTOP == none ]] && return 0
    # Only the desktop, not the taskbar: tests may hide the taskbar on purpose.
    [[ -n $(find_desktop "$SESSION_DISPLAY") ]]
}

wine_version() { WINEDEBUG=-all wine --version 2>/dev/null; }

reg_add() {
    local key=$1 name=$2 data=$3
    # UTF-8 locale so Wine converts the Japanese value names to UTF-16 right.
    LC_ALL=C.UTF-8 timeout 60 wine reg add "$key" /v "$name" /t REG_SZ /d "$data" /f \
        </dev/null >>"$PREFIX_LOG" 2>&1 9>&- ||
        die_log "wine reg add '$key' '$name' failed" "$PREFIX_LOG"
}

stop_wineserver() {
    [[ -d $PREFIX ]] || return 0
    WINEPREFIX=$PREFIX WINEDEBUG=-all timeout 30 wineserver -k \
        </dev/null >>"$WINE_LOG" 2>&1 9>&- || true
    WINEPREFIX=$PREFIX WINEDEBUG=-all timeout 30 wineserver -w \
        </dev/null >>"$WINE_LOG" 2>&1 9>&- || true
}

# Wine draws the caption buttons with its Marlett font, which Debian ships in fonts-wine; without
# it a close box shows the letter "r". Only Marlett goes into the prefix: the package's Tahoma
# shows boxes for bold Japanese captions, so the package itself is not installed.
install_marlett() {
    local scratch fonts=$PREFIX/drive_c/windows/Fonts
    scratch=$(mktemp -d)
    if ! (cd "$scratch" && timeout 120 apt-get download fonts-wine) </dev/null >>"$PREFIX_LOG" 2>&1 9>&-; then
        rm -rf "$scratch"
        die_log "could not download fonts-wine for its Marlett font (apt-get update first?)" "$PREFIX_LOG"
    fi
    mkdir -p "$fonts"
    dpkg-deb --fsys-tarfile "$scratch"/fonts-wine_*.deb | tar -x -O ./usr/share/wine/fonts/marlett.ttf >"$fonts/marlett.ttf"
    rm -rf "$scratch"
    [[ -s $fonts/marlett.ttf ]] || die_log "no marlett.ttf in fonts-wine" "$PREFIX_LOG"
}

ensure_prefix() {
    local version
    version=$(wine_version) || die "'wine --version' failed; is Wine installed?"
    # A prefix made by an earlier recipe (without Marlett) is made anew.
    version="$version, Marlett"
    [[ $DESKTOP == shell ]] || version="$version, no desktop"
    if [[ -f $STAMP && -f $PREFIX/system.reg && $(cat "$STAMP") == "$version" ]]; then
        return 0
    fi
    say "creating Wine prefix $PREFIX ($version)"
    stop_wineserver
    rm -rf "$PREFIX" "$STAMP"
    mkdir -p "$PREFIX"
    : >"$PREFIX_LOG"
    # shellcheck disable=SC2030
    (
        export WINEPREFIX=$PREFIX WINEARCH=win64 WINEDEBUG=-all
        # No display while booting: nothing flashes on a real screen.
        unset DISPLAY
        # wineserver needs the prefix directory to exist already.
        timeout 30 setsid wineserver -p </dev/null >>"$PREFIX_LOG" 2>&1 9>&- ||
            die_log "could not start wineserver for the new prefix" "$PREFIX_LOG"
        # Empty overrides: no Mono/Gecko install prompts, no menu entries.
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
            timeout 300 wineboot -i </dev/null >>"$PREFIX_LOG" 2>&1 9>&- ||
            die_log "wineboot -i failed" "$PREFIX_LOG"

        # No window manager on Xvfb: unmanaged windows avoid 2 s waits.
        reg_add 'HKCU\Software\Wine\X11 Driver' Managed N
        # A desktop named "shell" gets a real taskbar.
        if [[ $DESKTOP == shell ]]; then
            reg_add 'HKCU\Software\Wine\Explorer' Desktop shell
            reg_add 'HKCU\Software\Wine\Explorer\Desktops' shell "${SCREEN_W}x${SCREEN_H}"
        fi
        local r='HKCU\Software\Wine\Fonts\Replacements'
        reg_add "$r" 'ＭＳ Ｐゴシック' IPAPGothic
        reg_add "$r" 'MS PGothic' IPAPGothic
        # Default dialog font; without it Japanese shows as boxes.
        reg_add "$r" 'MS UI Gothic' IPAPGothic
        reg_add "$r" 'ＭＳ ゴシック' IPAGothic
        reg_add "$r" 'MS Gothic' IPAGothic
        # Unaccelerated pointer: relative moves in tests stay predictable.
        reg_add 'HKCU\Control Panel\Mouse' MouseSpeed 0
        reg_add 'HKCU\Control Panel\Mouse' MouseThreshold1 0
        reg_add 'HKCU\Control Panel\Mouse' MouseThreshold2 0
        # Every server start runs wineboot, which would write menu entries
        # and file associations into $HOME.
        reg_add 'HKCU\Software\Wine\DllOverrides' winemenubuilder.exe ''
    )
    install_marlett
    # Ending the server flushes the registry to disk.
    stop_wineserver
    [[ -f $PREFIX/system.reg && -f $PREFIX/user.reg ]] ||
        die_log "prefix $PREFIX is incomplete after wineboot" "$PREFIX_LOG"
    echo "$version" >"$STAMP"
}

start_xvfb() {
    : >"$XVFB_LOG"
    start_x_server "$FIRST_DISPLAY" "$DISPLAY_TRIES" "$STATE/xvfb.display" "$XVFB_LOG" \
        Xvfb -screen 0 "${X_SCREEN}x24" -noreset -nolisten tcp
    XVFB_TAG=$(proc_tag "$X_PID") || die_log "Xvfb $X_DISPLAY exited at once" "$XVFB_LOG"
    record_pid XVFB "$XVFB_TAG"
    SESSION_DISPLAY=$X_DISPLAY
}

start_session() {
    : >"$WINE_LOG"
    # shellcheck disable=SC2031
    export WINEPREFIX=$PREFIX WINEDEBUG=-all DISPLAY=$SESSION_DISPLAY
    # Persistent server (-p): it must not exit between tests.
    timeout 30 setsid wineserver -p </dev/null >>"$WINE_LOG" 2>&1 9>&- ||
        die_log "could not start wineserver" "$WINE_LOG"

    # Keep-alive: a window-less console program blocked forever on a FIFO read
    # (opened read-write, so it never sees EOF). It holds the desktop open,
    # but a console program never creates it: rundll32 first makes a hidden
    # window, which starts explorer.exe with the "shell" desktop and taskbar.
    # Helpers it spawns inherit its detached fds.
    rm -f "$FIFO"
    mkfifo "$FIFO"
    setsid wine cmd /c 'rundll32 user32.dll,GetDesktopWindow & pause' \
        <>"$FIFO" >>"$WINE_LOG" 2>&1 9>&- &
    local pid=$!
    KEEPALIVE_TAG=$(proc_tag "$pid") || die_log "keep-alive exited at once" "$WINE_LOG"
    record_pid KEEPALIVE "$KEEPALIVE_TAG"

    local deadline=$(($(now_ms) + 60000))
    while :; do
        proc_alive "$KEEPALIVE_TAG" || die_log "keep-alive (wine cmd ... pause) exited" "$WINE_LOG"
        # The keep-alive leads its own session; the wineboot --init that
        # every new server runs is in it too, and must be done first
        # (zombies excluded: orphans may never be reaped here).
        if desktop_ready "$pid" && ! pgrep -s "$pid" -r R,S,D -f wineboot >/dev/null; then
            break
        fi
        if (($(now_ms) > deadline)); then
            die_log "no Wine desktop ($DESKTOP) on $SESSION_DISPLAY after 60 s" "$WINE_LOG"
        fi
        sleep 0.1
    done

    local tmp=$ENV_FILE.tmp.$$
    {
        echo "export DISPLAY=$SESSION_DISPLAY"
        printf 'export WINEPREFIX=%q\n' "$PREFIX"
        echo "export WINEDEBUG=-all"
        echo "TESSARO_WINE_XVFB=$XVFB_TAG"
        echo "TESSARO_WINE_KEEPALIVE=$KEEPALIVE_TAG"
        echo "TESSARO_WINE_XSCREEN=$X_SCREEN"
    } >"$tmp"
    mv -f "$tmp" "$ENV_FILE"
}

stop_locked() {
    load_env || true
    rm -f "$ENV_FILE"
    if proc_alive "$KEEPALIVE_TAG"; then
        kill "${KEEPALIVE_TAG%%:*}" 2>/dev/null || true
    fi
    stop_wineserver
    if proc_alive "$XVFB_TAG"; then
        local pid=${XVFB_TAG%%:*} i
        kill "$pid" 2>/dev/null || true
        for ((i = 0; i < 100; i++)); do
            proc_alive "$XVFB_TAG" || break
            sleep 0.05
        done
        if proc_alive "$XVFB_TAG"; then kill -KILL "$pid" 2>/dev/null || true; fi
    fi
    rm -f "$FIFO" "$STATE/xvfb.display" "$PIDS_FILE"
}

cmd_start() {
    healthy && return 0
    close_extra_fds
    take_lock
    # Someone else may have started it while we waited for the lock.
    healthy && return 0
    local t0
    t0=$(now_ms)
    [[ -z $SESSION_DISPLAY$KEEPALIVE_TAG ]] || say "restarting unhealthy session in $STATE"
    stop_locked
    # Leave nothing running if any step below fails.
    trap stop_locked EXIT
    ensure_prefix
    XVFB_TAG='' SESSION_DISPLAY=''
    if [[ ${TESSARO_USE_DISPLAY:-} == 1 && -n $ORIG_DISPLAY ]]; then
        xprobe "$ORIG_DISPLAY" || die "cannot connect to DISPLAY=$ORIG_DISPLAY"
        SESSION_DISPLAY=$ORIG_DISPLAY
    else
        start_xvfb
    fi
    start_session
    trap - EXIT
    say "session ready on DISPLAY=$SESSION_DISPLAY in $(($(now_ms) - t0)) ms"
}

cmd_stop() {
    [[ -d $STATE ]] || return 0
    close_extra_fds
    take_lock
    stop_locked
}

cmd_run() {
    # Subshell: the lock fd dies with it; its output must not reach our stdout.
    (
        QUIET=1
        cmd_start
    ) >&2
    # shellcheck source=/dev/null
    . "$ENV_FILE"
    export WINEDEBUG=-all
    exec wine "$@"
}

cmd_env() {
    [[ -r $ENV_FILE ]] || die "no session in $STATE (run: $0 start $STATE)"
    cat "$ENV_FILE"
}

session_main "$@"
