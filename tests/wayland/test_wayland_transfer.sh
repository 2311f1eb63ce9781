#!/usr/bin/env bash
# Two copies of Swoop2 side by side under a real Wayland compositor (sway, headless), driven
# through the compositor's virtual pointer and keyboard: a drag moves a curve from one copy to
# the other, a drag with Ctrl copies it within a window and into the other copy, Copy, Cut and
# Paste go between the copies and to and from wl-copy and wl-paste, and the key-state panes show
# the locks the compositor reports.
#
# sway refuses to run as root, and CI runs as root: there the compositor, the programs and the
# clients run as an unprivileged user of their own, always with a runtime folder of their own.
set -euo pipefail
: "${SWOOP2:?the program under test}" "${WAYLAND_INPUT:?the input client}"
name=test_wayland_transfer
tmp=$(mktemp -d "${TMPDIR:-/tmp}/swoop2-wayland.XXXXXX")
artefacts=${SWOOP2_ARTEFACTS:-$tmp/artefacts}/$name
mkdir -p "$artefacts"
pids=()
descendants() {
    local child
    for child in $(pgrep -P "$1"); do
        echo "$child"
        descendants "$child"
    done
}
cleanup() {
    local pid all=()
    exec 5>&- 2>/dev/null || true
    # Each job runs as runuser, then timeout, then the program: all of them end.
    for pid in "${pids[@]}"; do
        all+=("$pid" $(descendants "$pid"))
    done
    kill "${all[@]}" 2>/dev/null || true
    sleep 0.3
    kill -9 "${all[@]}" 2>/dev/null || true
    cp "$tmp"/home/*.png "$tmp"/home/*.out "$tmp"/home/*.log "$artefacts/" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for log in "$tmp"/home/*.out "$tmp"/home/sway.log; do
        [[ -f "$log" ]] && { echo "--- $log" >&2; tail -n 15 "$log" >&2; }
    done
    exit 1
}

for tool in sway wtype wl-copy wl-paste grim swaymsg identify; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-dependencies)"
done
chmod 755 "$tmp"
home=$tmp/home runtime=$tmp/runtime
mkdir -p "$home" "$runtime"
user=$(id -un)
as=()
if [[ $(id -u) -eq 0 ]]; then
    user=swoop2-wayland
    if ! id -u "$user" >/dev/null 2>&1; then
        # Tests running side by side may both create the user; one of them wins.
        useradd --system --no-create-home --shell /usr/sbin/nologin "$user" 2>/dev/null || true
    fi
    id -u "$user" >/dev/null 2>&1 || fail "cannot create the user $user"
    chown "$user" "$home" "$runtime"
    as=(runuser -u "$user" --)
fi
chmod 700 "$runtime"

# Qt 6.4's Wayland plugin leaves its protocol objects, and the clipboard's last contents,
# allocated at exit (a bare window leaks 14 of them): leaks are not looked for here, every other
# fault the sanitizers find still ends the program.
[[ -n "${ASAN_OPTIONS:-}" ]] && ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0
# Runs a command as the user, in the test's session.
as_user() {
    "${as[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" \
        XDG_CONFIG_HOME="$home/config" WAYLAND_DISPLAY="${display:-}" QT_QPA_PLATFORM=wayland \
        ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
        ${LSAN_OPTIONS:+LSAN_OPTIONS=$LSAN_OPTIONS} ${SWAYSOCK:+SWAYSOCK=$SWAYSOCK} "$@"
}

cat >"$home/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1280x720 position 0 0
default_border none
default_floating_border none
focus_follows_mouse no
xwayland disable
CONF
as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    timeout 280 sway -c "$home/sway.conf" >"$home/sway.log" 2>&1 &
pids+=($!)
for ((i = 0; i < 100; i++)); do
    SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1 || true)
    display=$(ls "$runtime" | grep -x 'wayland-[0-9]*' | head -n 1 || true)
    [[ -n "$SWAYSOCK" && -n "$display" ]] && break
    sleep 0.1
done
[[ -n "$SWAYSOCK" && -n "$display" ]] || fail "sway did not start"
export SWAYSOCK

# The input client reads commands from a pipe for the whole test: one pointer throughout.
mkfifo "$tmp/input"
chmod 666 "$tmp/input"
as_user timeout 280 "$WAYLAND_INPUT" 1280x720 <"$tmp/input" >"$home/input.out" 2>&1 &
pids+=($!)
exec 5>"$tmp/input"
steps=0
# Sends commands to the input client and waits until it has carried them out.
input() {
    steps=$((steps + 1))
    printf '%s\n' "$@" "echo done $steps" >&5
    for ((i = 0; i < 600; i++)); do
        grep -qx "done $steps" "$home/input.out" 2>/dev/null && return 0
        sleep 0.05
    done
    fail "the input client did not carry out: $*"
}
click() {
    input "move $1 $2" 'wait 200' "press ${3:-}" 'wait 100' "release ${3:-}" 'wait 600'
}
# A drag as a person makes it, in steps with pauses that let both sides keep up.
drag() {
    local x0=$1 y0=$2 x1=$3 y1=$4 k path=()
    for ((k = 1; k <= 12; k++)); do
        path+=("move $((x0 + (x1 - x0) * k / 12)) $((y0 + (y1 - y0) * k / 12))" 'wait 80')
    done
    input "move $x0 $y0" 'wait 300' press 'wait 200' "${path[@]}" 'wait 200' release 'wait 1000'
}
# Keys through wtype, which needs pauses after its keyboard appears and between steps.
keys() {
    as_user wtype -s 600 "$@" -s 600
}
ctrl() {
    keys -M ctrl -s 100 "$1" -s 100 -m ctrl
}
focus() {
    as_user swaymsg "[pid=$1] focus" >/dev/null
}
# Waits until a file holds a line matching the pattern.
wait_for_line() {
    for ((i = 0; i < 200; i++)); do
        grep -q -- "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "no '$2' in $1: $(tail -n 5 "$1" 2>/dev/null)"
}
source "$(dirname "${BASH_SOURCE[0]}")/../support/le32.sh"
ints_of() {
    od -An -t d4 -v "$1" | xargs
}
# save PID FILE: Ctrl+S in the copy with this pid, which has a file name; waits for the file.
save() {
    rm -f "$2"
    focus "$1"
    ctrl s
    for ((i = 0; i < 100; i++)); do
        [[ -s "$2" ]] && break
        sleep 0.1
    done
    sleep 0.2
    [[ -s "$2" ]] || fail "Ctrl+S saved nothing at $2"
}

# Two copies, each with an empty drawing of its own file; sway tiles the second to the right
# of the first, each half the screen wide.
start_copy() {
    le32 0 >"$home/$1"
    chown "$user" "$home/$1"
    as_user env SWOOP2_SHOWN_TEXT_LOG="$home/$1.log" timeout 280 "$SWOOP2" "$home/$1" \
        >"$home/$1.out" 2>&1 &
    pids+=($!)
    printf -v "${1}_job" '%s' "$!"
    wait_for_line "$home/$1.log" '^painted$'
    local pid=""
    for ((i = 0; i < 50; i++)); do
        pid=$(pgrep -n -u "$user" -x swoop2 || true)
        [[ -n "$pid" ]] && ! grep -qx "$pid" "$home/pids" 2>/dev/null && break
        pid=""
        sleep 0.1
    done
    [[ -n "$pid" ]] || fail "no process of copy $1"
    echo "$pid" >>"$home/pids"
    printf -v "${1}_pid" '%s' "$pid"
}
start_copy a
start_copy b
wait_for_line "$home/a.log" '^view: 0 49 640 '
wait_for_line "$home/b.log" '^view: 0 49 640 '
# The views start 49 pixels down their windows; b's window starts at x 640.
vy=49 bx=640

# A curve in a, drawn with the pointer: the press points less the view's place.
click 100 150
click 300 200
click 200 350
click 150 250 right

# The key-state panes show what the compositor says of the locks, and nothing of a light the
# keymap does not drive (Scroll Lock).
# last_panes LOG EXPECTED: waits until the copy's panes show EXPECTED.
last_panes() {
    local last=""
    for ((i = 0; i < 50; i++)); do
        last=$(grep '^panes: ' "$home/$1.log" | tail -n 1)
        [[ "$last" == "panes: $2" ]] && return 0
        sleep 0.1
    done
    fail "copy $1's panes show '$last', not '$2' ($3)"
}
panes() {
    input "locks $1" 'wait 300'
    last_panes a "$2" "with the locks '$1'"
}
panes caps '[CAP] [] []'
panes 'caps num' '[CAP] [NUM] []'
panes num '[] [NUM] []'
# Once the focus leaves a, the compositor tells a nothing more and tells b instead.
input 'locks caps num' 'wait 300'
focus "$b_pid"
last_panes a '[] [] []' 'without focus'
last_panes b '[CAP] [NUM] []' 'on getting the focus'
input 'locks' 'wait 300'
last_panes b '[] [] []' 'with no locks'
focus "$a_pid"

# The Select tool, then a plain drag into b moves the curve there.
button=$(grep '^button: 32771|' "$home/a.log" | tail -n 1 | cut -d'|' -f2)
click $button
drag 200 250 $((bx + 220)) 300
as_user grim "$home/moved.png"
save "$a_pid" "$home/a"
[[ "$(ints_of "$home/a")" == 0 ]] || fail "a kept the curve it moved: $(ints_of "$home/a")"
save "$b_pid" "$home/b"
read -r -a v <<<"$(ints_of "$home/b")"
[[ ${#v[@]} -eq 8 && ${v[0]} -eq 1 && ${v[1]} -eq 3 ]] || fail "b did not get the curve: ${v[*]}"
dx=$((v[2] - 100)) dy=$((v[3] - (150 - vy)))
[[ "${v[*]:4}" == "$((300 + dx)) $((200 - vy + dy)) $((200 + dx)) $((350 - vy + dy))" ]] ||
    fail "the moved curve changed its shape: ${v[*]}"
# b saw the drag enter at its left edge, outside the curve, so the outline and the drop are
# centred on the pointer: 220 - 100 across, 251 - 100 down.
[[ $dx -ge 10 && $dx -le 30 && $dy -ge 40 && $dy -le 60 ]] ||
    fail "the curve landed at an offset of $dx, $dy"

# Within b, a drag with Ctrl held copies the curve: Ctrl is held by a keyboard of wtype's for
# the length of the drag.
cx=$((bx + 200 + dx)) cy=$((250 + dy))
click $cx $cy
as_user wtype -s 600 -M ctrl -s 4500 -m ctrl -s 300 &
held=$!
sleep 1.2
drag $cx $cy $((cx + 100)) $((cy + 120))
wait "$held" || true
as_user grim "$home/copied.png"
save "$b_pid" "$home/b"
read -r -a w <<<"$(ints_of "$home/b")"
[[ ${#w[@]} -eq 15 && ${w[0]} -eq 2 && "${w[*]:1:7}" == "${v[*]:1}" ]] ||
    fail "the drag with Ctrl did not copy the curve within b: ${w[*]}"

# Copy in b offers the record of the selected (copied) curve first, then pictures.
ctrl c
types=$(as_user timeout 20 wl-paste -l)
echo "$types" >"$artefacts/types.txt"
[[ "$(head -n 1 <<<"$types")" == Tav.Swoop ]] || fail "Copy does not offer the record first: $types"
grep -qx image/png <<<"$types" || fail "Copy offers no image/png: $types"
as_user timeout 20 wl-paste -n -t Tav.Swoop >"$tmp/record"
le32 28 "${w[@]:9:6}" >"$tmp/expected"
cmp "$tmp/expected" "$tmp/record" || fail "the record differs: $(ints_of "$tmp/record")"
as_user timeout 20 wl-paste -n -t image/png >"$artefacts/copied-picture.png"
size=$(identify -format '%wx%h' "$artefacts/copied-picture.png")
[[ "$size" == 210x210 ]] || fail "the picture is $size, not 210x210"
# Beside them, the curve as SVG for drawing programs, placed as the picture is.
grep -qx image/svg+xml <<<"$types" || fail "Copy offers no SVG: $types"
as_user timeout 20 wl-paste -n -t image/svg+xml >"$artefacts/copied.svg"
xmllint --noout "$artefacts/copied.svg" || fail "the copied SVG is not well-formed"
grep -q 'viewBox="0 0 210 210"' "$artefacts/copied.svg" ||
    fail "the copied SVG is not placed as the picture: $(cat "$artefacts/copied.svg")"

# Paste in a brings the curve over.
focus "$a_pid"
ctrl v
save "$a_pid" "$home/a"
[[ "$(ints_of "$home/a")" == "1 3 ${w[*]:9:6}" ]] || fail "Paste into a: $(ints_of "$home/a")"

# A record from another program pastes as a closed curve, also in a copy that held the
# clipboard before; Cut then gives it back.
ctrl c
le32 28 10 10 100 20 50 90 >"$home/offered"
as_user wl-copy --foreground -t Tav.Swoop <"$home/offered" &
pids+=($!)
sleep 0.5
focus "$a_pid"
ctrl v
save "$a_pid" "$home/a"
[[ "$(ints_of "$home/a")" == "2 3 ${w[*]:9:6} 3 10 10 100 20 50 90" ]] ||
    fail "the record from wl-copy did not paste: $(ints_of "$home/a")"
focus "$a_pid"
ctrl x
save "$a_pid" "$home/a"
[[ "$(ints_of "$home/a")" == "1 3 ${w[*]:9:6}" ]] || fail "Cut left: $(ints_of "$home/a")"
as_user timeout 20 wl-paste -n -t Tav.Swoop >"$tmp/record"
cmp "$home/offered" "$tmp/record" || fail "Cut offers: $(ints_of "$tmp/record")"
as_user grim "$home/after-cut.png"

# A drag with Ctrl from b into a copies: b, which has the keyboard, sees Ctrl as the drag begins
# and offers only a copy, which a takes whether or not the compositor shows it the key. b keeps
# both its curves; a adds the copy, shape unchanged.
sx=$((bx + (w[9] + w[11] + w[13]) / 3)) sy=$((vy + (w[10] + w[12] + w[14]) / 3))
focus "$b_pid"
as_user wtype -s 600 -M ctrl -s 4500 -m ctrl -s 300 &
held=$!
sleep 1.2
drag $sx $sy 300 400
wait "$held" || true
as_user grim "$home/copied-between.png"
save "$b_pid" "$home/b"
[[ "$(ints_of "$home/b")" == "${w[*]}" ]] || fail "a drag with Ctrl into a took from b: $(ints_of "$home/b")"
save "$a_pid" "$home/a"
read -r -a c <<<"$(ints_of "$home/a")"
ddx=$((c[9] - w[9])) ddy=$((c[10] - w[10]))
[[ ${#c[@]} -eq 15 && ${c[0]} -eq 2 && ${c[8]} -eq 3 &&
    "${c[*]:11}" == "$((w[11] + ddx)) $((w[12] + ddy)) $((w[13] + ddx)) $((w[14] + ddy))" ]] ||
    fail "a drag with Ctrl into a did not add the copy: ${c[*]}"

# Closing its window, as the compositor asks, ends each copy with status 0 (and, in the
# sanitizer build, with no leak).
exit_copy() {
    local pid=$1 job=$2 status=0
    as_user swaymsg "[pid=$pid] kill" >/dev/null
    for ((i = 0; i < 100; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "closing the window did not end the program"
    wait "$job" || status=$?
    [[ $status -eq 0 ]] || fail "the program ended with status $status"
}
exit_copy "$b_pid" "$b_job"
exit_copy "$a_pid" "$a_job"
echo PASS
