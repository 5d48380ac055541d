# shellcheck shell=bash
# What tools/wine-session.sh and tools/two-monitor-session.sh share: messages, X servers on a
# display of their own, and the dispatch of their commands. Sourced, never run.

SESSION_NAME=$(basename "$0" .sh)
readonly SESSION_NAME

say() { [[ ${QUIET:-0} == 1 ]] || echo "$SESSION_NAME: $*" >&2; }
die() {
    echo "$SESSION_NAME: error: $*" >&2
    exit 1
}
# The script's leading comment, from its second line to the first line that is not a comment.
usage() {
    sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$0" >&2
    exit 2
}

now_ms() { date +%s%3N; }

# "pid:starttime" guards against PID reuse; zombies count as dead because
# the init of some containers never reaps orphans.
proc_tag() {
    local pid=$1 stat f
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || return 1
    # Fields after "(comm) ": f[0] is the state, f[19] the start time.
    read -r -a f <<<"${stat##*) }"
    [[ ${f[0]} != Z && ${f[0]} != X ]] || return 1
    echo "$pid:${f[19]}"
}

proc_alive() {
    local tag=$1
    [[ -n $tag ]] || return 1
    [[ $(proc_tag "${tag%%:*}" 2>/dev/null) == "$tag" ]]
}

xprobe() { DISPLAY=$1 timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; }

# start_x_server FIRST TRIES READY LOG SERVER ARGS...: starts SERVER :n ARGS on the first free
# display n from FIRST on, detached from us, and waits until it accepts connections. Sets
# X_DISPLAY (":n") and X_PID. READY is a scratch file for the display number the server writes.
start_x_server() {
    local first=$1 tries=$2 ready=$3 log=$4 n deadline
    shift 4
    for ((n = first; n < first + tries; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        rm -f "$ready"
        # -displayfd writes the number once the server accepts connections. The lock of the
        # caller (fd 9) must not live on in the server.
        setsid "$1" ":$n" "${@:2}" -displayfd 3 3>"$ready" </dev/null >>"$log" 2>&1 9>&- &
        X_PID=$!
        deadline=$(($(now_ms) + 30000))
        until [[ -s $ready ]] && xprobe ":$n"; do
            # Lost a race for this display number: try the next one.
            proc_tag "$X_PID" >/dev/null || continue 2
            if (($(now_ms) > deadline)); then
                kill "$X_PID" 2>/dev/null || true
                die "$1 :$n did not accept connections within 30 s (see $log)"
            fi
            sleep 0.05
        done
        X_DISPLAY=:$n
        return 0
    done
    die "could not start $1 on any display :$first..:$((first + tries - 1)) (see $log)"
}

# session_main "$@": COMMAND STATE [ARGS...]. start, stop and run call cmd_start (with ARGS),
# cmd_stop and cmd_run (with PROG ARGS); any other command with a cmd_ function of that name
# calls it. Each first has set_paths STATE.
session_main() {
    local command=${1:-}
    case $command in
    start)
        (($# >= 2)) || usage
        set_paths "$2"
        cmd_start "${@:3}"
        ;;
    run)
        (($# >= 3)) || usage
        set_paths "$2"
        cmd_run "${@:3}"
        ;;
    *)
        [[ -n $command ]] && declare -F "cmd_$command" >/dev/null && (($# == 2)) || usage
        set_paths "$2"
        "cmd_$command"
        ;;
    esac
}
