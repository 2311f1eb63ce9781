#!/usr/bin/env bash
# Under Wayland, with no X server: the window comes up with the drawing, and it names its
# desktop entry as its application id, through which the compositor finds its name and icon.
set -euo pipefail
: "${SWOOP2:?the program under test}"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/swoop2-wayland.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    sleep 0.2
    for pid in "${pids[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

unset DISPLAY
export XDG_RUNTIME_DIR=$tmp/runtime XDG_CONFIG_HOME=$tmp/config HOME=$tmp/home
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"

socket=swoop2-test
timeout 240 weston --backend=headless-backend.so --socket=$socket --idle-time=0 \
    >"$tmp/weston.log" 2>&1 &
pids+=($!)
for ((i = 0; i < 100; i++)); do
    [[ -S "$XDG_RUNTIME_DIR/$socket" ]] && break
    sleep 0.1
done
[[ -S "$XDG_RUNTIME_DIR/$socket" ]] || fail "weston did not start: $(cat "$tmp/weston.log")"

# A drawing of one curve to open.
printf '\x01\x00\x00\x00\x02\x00\x00\x00\x0a\x00\x00\x00\x14\x00\x00\x00\x1e\x00\x00\x00\x28\x00\x00\x00' \
    >"$tmp/drawing"
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    SWOOP2_SHOWN_TEXT_LOG=$tmp/shown.log timeout 200 "$SWOOP2" "$tmp/drawing" >"$tmp/app.log" 2>&1 &
pids+=($!)
app=$!
for ((i = 0; i < 300; i++)); do
    grep -q '^status: Ready$' "$tmp/shown.log" 2>/dev/null && break
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
grep -q '^status: Ready$' "$tmp/shown.log" 2>/dev/null ||
    fail "no window under Wayland: $(grep -v '^\[' "$tmp/app.log" | tail -n 20)"
grep -q 'xdg_toplevel@[0-9]*\.set_app_id("swoop2")' "$tmp/app.log" ||
    fail "the window's application id is not swoop2: $(grep set_app_id "$tmp/app.log")"
grep -q 'xdg_toplevel@[0-9]*\.set_title("drawing - Swoop2")' "$tmp/app.log" ||
    fail "the window's title: $(grep set_title "$tmp/app.log")"
echo PASS
