#!/usr/bin/env bash
# Shared by the end-to-end tests: each test sources this file, which starts a private Xvfb,
# gives the programs temporary settings and runtime folders, and ends every process the test
# started when the test exits. With SWOOP2_E2E_WM=openbox the test runs under that window
# manager, as on a desktop; otherwise there is none.
set -euo pipefail

E2E_NAME=$(basename "${BASH_SOURCE[1]}" .sh)
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/swoop2-e2e.XXXXXX")
ARTEFACTS=${SWOOP2_ARTEFACTS:-$E2E_TMP/artefacts}/$E2E_NAME${SWOOP2_E2E_WM:+-$SWOOP2_E2E_WM}
mkdir -p "$ARTEFACTS"
export XDG_CONFIG_HOME=$E2E_TMP/config XDG_RUNTIME_DIR=$E2E_TMP/runtime HOME=$E2E_TMP/home
# Recovery copies of the drawings a test leaves unsaved stay with the test.
export XDG_STATE_HOME=$E2E_TMP/state
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME" "$XDG_STATE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

E2E_PIDS=()

e2e_cleanup() {
    local pid k
    # Latest first, so that the X server outlives its clients.
    for ((k = ${#E2E_PIDS[@]} - 1; k >= 0; k--)); do
        pid=${E2E_PIDS[k]}
        kill -CONT "$pid" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
    done
    sleep 0.2
    for pid in "${E2E_PIDS[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a command in the background and remembers it for the cleanup; the pid is in $!.
spawn() {
    "$@" &
    E2E_PIDS+=($!)
}

start_xvfb() {
    local fifo=$E2E_TMP/displayfd
    mkfifo "$fifo"
    # Without -noreset the server resets whenever its last client leaves, and closes the
    # connections that it has accepted meanwhile: a program that starts while a short-lived
    # client (xdpyinfo, xdotool) ends then "could not connect to display".
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$fifo" \
        2>"$E2E_TMP/xvfb.log" &
    E2E_PIDS+=($!)
    local number
    read -r -t 20 number <"$fifo" || fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
    export DISPLAY=:$number
    E2E_XVFB_PID=${E2E_PIDS[-1]}
    for ((i = 0; i < 100; i++)); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer: $(cat "$E2E_TMP/xvfb.log")"
}

# Starts the window manager named by SWOOP2_E2E_WM and waits until it manages the screen.
start_window_manager() {
    [[ "$1" == openbox ]] || fail "unknown window manager '$1'"
    spawn openbox --sm-disable >"$E2E_TMP/wm.log" 2>&1
    for ((i = 0; i < 100; i++)); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    fail "openbox did not start: $(cat "$E2E_TMP/wm.log")"
}

# Says what became of the X server, for the messages of failed tests.
xvfb_state() {
    if kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
        echo "Xvfb on $DISPLAY is running"
    else
        echo "Xvfb on $DISPLAY has exited: $(cat "$E2E_TMP/xvfb.log")"
    fi
}

# Waits for a window whose title matches the pattern and prints its id.
wait_for_window() {
    local pattern=$1 timeout=${2:-30} id
    for ((i = 0; i < timeout * 10; i++)); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
        if [[ -n "$id" ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window titled '$pattern' within ${timeout}s ($(xvfb_state))"
}

# Saves a screenshot of the whole screen, or of one window, as an artefact.
screenshot() {
    local name=$1 window=${2:-root}
    import -window "$window" "$ARTEFACTS/$name.png"
}

# Drags with the pointer as a person would, in small steps with pauses, so that the drag
# machinery of both sides keeps up: drag X0 Y0 X1 Y1 [MODIFIER]
drag() {
    local x0=$1 y0=$2 x1=$3 y1=$4 modifier=${5:-}
    xdotool mousemove "$x0" "$y0"
    sleep 0.3
    [[ -n "$modifier" ]] && xdotool keydown "$modifier"
    xdotool mousedown 1
    sleep 0.2
    local steps=12 k
    for ((k = 1; k <= steps; k++)); do
        xdotool mousemove $((x0 + (x1 - x0) * k / steps)) $((y0 + (y1 - y0) * k / steps))
        sleep 0.08
    done
    sleep 0.2
    xdotool mouseup 1
    [[ -n "$modifier" ]] && xdotool keyup "$modifier"
    sleep 0.3
}

start_xvfb
[[ -z "${SWOOP2_E2E_WM:-}" ]] || start_window_manager "$SWOOP2_E2E_WM"
