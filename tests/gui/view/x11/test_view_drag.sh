#!/usr/bin/env bash
# Dragging the selected curve within the view: a plain drag moves it, on top of the curves above
# it, a drag with Ctrl copies it; a drop that fails inside the drag reports it in a message box
# that the user can close.
source "$(dirname "$0")/../../../e2e/lib.sh"

helper=${VIEW_DRAG_HELPER:?}
[[ -x "$helper" ]] || fail "no helper at $helper"

# Runs a fresh helper, with the given options, and waits for its window: pid in $helper_pid.
start_helper() {
    local log=$1 window
    shift
    spawn timeout 120 "$helper" "$@" >"$log"
    helper_pid=$!
    window=$(wait_for_window '^ViewDrag$')
    xdotool windowmove "$window" 0 0
    sleep 0.5
    grep -q '^state [13] 0,0 o\*\? \(other c \)*select$' "$log" ||
        fail "the helper did not start as expected: $(cat "$log")"
}

# Runs a fresh helper and drags its curve. The helper's frame has no menu and there is no window
# manager, so the view's client area starts at the screen's top-left corner.
run_drag() {
    local log=$1 modifier=${2:-}
    shift 2
    start_helper "$log" "$@"

    # Press inside the curve's bounds (100,100 to 200,160), then 12 steps of (10, 5).
    drag 150 130 270 190 $modifier
    for ((i = 0; i < 50; i++)); do
        (($(grep -c '^state' "$log") > 1)) && break
        sleep 0.1
    done
    sleep 0.5
    kill "$helper_pid" 2>/dev/null || true
    screenshot "$(basename "$log" .log)"
}

run_drag "$E2E_TMP/move.log" ""
final=$(grep '^state' "$E2E_TMP/move.log" | tail -n 1)
echo "move: $final"
# The curve moves by the pointer's travel after the drag began (one or two steps of 10, 5 in),
# closed, on top, selected, with the Select tool; the original is gone.
[[ "$final" =~ ^state\ 1\ (100,50|110,55)\ c\*\ select$ ]] ||
    fail "a plain drag within the view left: $final ($(cat "$E2E_TMP/move.log"))"

# From the bottom of three curves, the moved curve lands on top of the other two.
run_drag "$E2E_TMP/stacked.log" "" --stacked
final=$(grep '^state' "$E2E_TMP/stacked.log" | tail -n 1)
echo "stacked: $final"
[[ "$final" =~ ^state\ 3\ other\ c\ other\ c\ (100,50|110,55)\ c\*\ select$ ]] ||
    fail "a drag from the bottom of the stack left: $final ($(cat "$E2E_TMP/stacked.log"))"

run_drag "$E2E_TMP/copy.log" ctrl
final=$(grep '^state' "$E2E_TMP/copy.log" | tail -n 1)
echo "copy: $final"
[[ "$final" =~ ^state\ 2\ 0,0\ o\ (100,50|110,55)\ c\*\ select$ ]] ||
    fail "a drag with Ctrl within the view left: $final ($(cat "$E2E_TMP/copy.log"))"

# A drop that runs out of memory: the framework's box opens inside the drag, takes the key that
# closes it, and the drag ends with nothing changed; the window takes input again afterwards.
log=$E2E_TMP/failing.log
start_helper "$log" --drop-fails
drag 150 130 270 190
box=$(wait_for_window '^view_drag_helper$')
screenshot failing-box
xdotool windowfocus --sync "$box" key Return
for ((i = 0; i < 50; i++)); do
    [[ -z "$(xdotool search --onlyvisible --name '^view_drag_helper$' 2>/dev/null || true)" ]] && break
    sleep 0.1
done
[[ -z "$(xdotool search --onlyvisible --name '^view_drag_helper$' 2>/dev/null || true)" ]] ||
    fail "the message box opened inside the drag could not be closed"
final=$(grep '^state' "$log" | tail -n 1)
[[ "$final" =~ ^state\ 1\ 0,0\ o\*?\ select$ ]] || fail "a failed drop left: $final ($(cat "$log"))"
# A click on the empty background clears the selection.
xdotool mousemove 350 250 click 1
for ((i = 0; i < 50; i++)); do
    [[ "$(grep '^state' "$log" | tail -n 1)" == "state 1 0,0 o select" ]] && break
    sleep 0.1
done
[[ "$(grep '^state' "$log" | tail -n 1)" == "state 1 0,0 o select" ]] ||
    fail "the window takes no input after the failed drop: $(cat "$log")"
kill "$helper_pid" 2>/dev/null || true
echo "PASS"
