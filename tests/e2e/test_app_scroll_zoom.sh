#!/usr/bin/env bash
# A drawing larger than the window: the wheel, Shift with the wheel and the scroll bars move
# over it, the View menu and Ctrl with the wheel zoom, and a curve that lay off-screen is
# reshaped at a zoom of the square root of two and saved.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

file="$E2E_TMP/large drawing"
le32 2 3 20 20 120 40 60 100 3 2000 1500 2100 1500 2100 1600 >"$file"
start_copy a 40 40 "$file"
read -r vx vy vw vh <<<"$(tail_geometry "$a_log" view)"
screenshot opened

# The scroll position as the view's scroll bars last showed it.
scroll_of() { grep '^scroll: ' "$a_log" | tail -n 1 | cut -d' ' -f2-; }
wait_scroll() {
    for ((i = 0; i < 50; i++)); do
        [[ "$(scroll_of)" == "$1" ]] && return 0
        sleep 0.1
    done
    fail "the view did not scroll to $1: $(scroll_of)"
}
# wheel N BUTTON [KEY]: N notches of the wheel over the middle of the view.
wheel() {
    xdotool mousemove $((vx + vw / 2)) $((vy + vh / 2))
    sleep 0.2
    [[ -z "${3:-}" ]] || xdotool keydown "$3"
    xdotool click --repeat "$1" --delay 60 "$2"
    [[ -z "${3:-}" ]] || xdotool keyup "$3"
    sleep 0.4
}

# Each notch of the wheel is three lines of 20 units; Shift turns it sideways.
wheel 10 5
wait_scroll "0 600"
wheel 5 5 shift
wait_scroll "300 600"
wheel 2 4
wait_scroll "300 480"
screenshot wheeled

# A click in the vertical bar's trough, below its handle, moves a page down.
before=$(scroll_of)
xdotool mousemove $((vx + vw - 6)) $((vy + vh - 40))
sleep 0.2
xdotool click 1
sleep 0.5
read -r _ sy <<<"$(scroll_of)"
((sy > 480)) || fail "the scroll bar did not move a page: $before, then $(scroll_of)"

# Zoom In and Actual Size from the View menu: back at 100%, the origin is at the top-left.
keys_to "$a_win" alt+v i
keys_to "$a_win" alt+v a
wait_scroll "0 0"
screenshot actual_size

# Brought into view with the wheel, the far curve's first point stands 150, 120 into the window.
wheel $(((2000 - 150) / 60)) 5 shift
wheel $(((1500 - 120) / 60)) 5
read -r sx sy <<<"$(scroll_of)"
px=$((2000 - sx))
py=$((1500 - sy))
((px > 20 && px < vw - 40 && py > 20 && py < vh - 40)) ||
    fail "the far curve is not in view: scrolled to $sx $sy in a view of $vw by $vh"

# A step in with Ctrl and the wheel and one back out, at one spot, leaves every pixel of the
# window where it was: the scroll bars come back to their values, and the screen to its image.
view_pixels() {
    import -window root -crop "${vw}x${vh}+${vx}+${vy}" +repage "$ARTEFACTS/$1.png"
}
xdotool mousemove $((vx + 203)) $((vy + 77))
sleep 0.3
view_pixels before_round_trip
before=$(scroll_of)
scroll_lines() { grep -c '^scroll: ' "$a_log" || true; }
lines=$(scroll_lines)
xdotool keydown ctrl
xdotool click 4
for ((i = 0; i < 50 && $(scroll_lines) == lines; i++)); do sleep 0.1; done
xdotool click 5
xdotool keyup ctrl
for ((i = 0; i < 50; i++)); do
    (($(scroll_lines) >= lines + 2)) && [[ "$(scroll_of)" == "$before" ]] && break
    sleep 0.1
done
[[ "$(scroll_of)" == "$before" ]] || fail "a zoom step in and out moved the view from $before to $(scroll_of)"
# The window shows the same pixels once it has painted again.
for ((i = 0; i < 50; i++)); do
    view_pixels after_round_trip
    differing=$(compare -metric AE "$ARTEFACTS/before_round_trip.png" \
        "$ARTEFACTS/after_round_trip.png" null: 2>&1 || true)
    [[ "$differing" == 0 ]] && break
    sleep 0.1
done
[[ "$differing" == 0 ]] || fail "after a zoom step in and out, $differing pixels of the window differ"

# Ctrl with the wheel zooms in one step, about the point under the pointer.
xdotool mousemove $((vx + px)) $((vy + py))
sleep 0.2
xdotool keydown ctrl
xdotool click 4
xdotool keyup ctrl
sleep 0.6
screenshot zoomed
read -r sx sy <<<"$(scroll_of)"
# A unit maps to the pixel at the square root of two (92682 / 65536) times it, rounded.
# A pointer maps to the unit nearest it: screen units over the zoom, rounded half up.
map() { echo $((($1 * 92682 + 32768) >> 16)); }
unit_at() { echo $(((2 * $1 * 65536 + 92682) / (2 * 92682))); }
px=$(($(map 2000) - sx))
py=$(($(map 1500) - sy))
((px > 20 && px < vw - 60 && py > 20 && py < vh - 60)) ||
    fail "the point left the view when zooming about it: $px $py"

# Select picks the curve; its first point is dragged 28, 14 screen units.
keys_to "$a_win" alt+c s
click_view "$a_log" $((px + 30)) $((py + 30))
drag_view "$a_log" "$px" "$py" $((px + 28)) $((py + 14))
screenshot edited
save_again "$a_win" "$file"
x=$(unit_at $(($(map 2000) + 28)))
y=$(unit_at $(($(map 1500) + 14)))
le32 2 3 20 20 120 40 60 100 3 "$x" "$y" 2100 1500 2100 1600 >"$E2E_TMP/expected"
cmp "$E2E_TMP/expected" "$file" ||
    fail "the saved drawing is not the edited one: $(ints_of "$file" | tr '\n' ' '), expected $x $y"
exit_copy "$a_win" "$a_pid"
echo PASS
