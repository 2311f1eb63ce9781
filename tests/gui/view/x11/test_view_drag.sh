#!/usr/bin/env bash
# Dragging the selected curve within the view: a plain drag moves it, a drag with Ctrl copies it.
source "$(dirname "$0")/../../../e2e/lib.sh"

helper=${VIEW_DRAG_HELPER:?}
[[ -x "$helper" ]] || fail "no helper at $helper"

# Runs a fresh helper and drags its curve. The helper's frame has no menu and there is no window
# manager, so the view's client area starts at the screen's top-left corner.
run_drag() {
    local log=$1 modifier=${2:-}
    spawn timeout 120 "$helper" >"$log"
    local pid=$! window
    window=$(wait_for_window '^ViewDrag$')
    xdotool windowmove "$window" 0 0
    sleep 0.5
    grep -q '^state 1 0,0 o\* select$\|^state 1 0,0 o select$' "$log" ||
        fail "the helper did not start as expected: $(cat "$log")"
    # Press inside the curve's bounds (100,100 to 200,160), then 12 steps of (10, 5).
    drag 150 130 270 190 $modifier
    for ((i = 0; i < 50; i++)); do
        (($(grep -c '^state' "$log") > 1)) && break
        sleep 0.1
    done
    sleep 0.5
    kill "$pid" 2>/dev/null || true
    screenshot "$(basename "$log" .log)"
}

run_drag "$E2E_TMP/move.log"
final=$(grep '^state' "$E2E_TMP/move.log" | tail -n 1)
echo "move: $final"
# The curve moves by the pointer's travel after the drag began (one or two steps of 10, 5 in),
# closed, on top, selected, with the Select tool; the original is gone.
[[ "$final" =~ ^state\ 1\ (100,50|110,55)\ c\*\ select$ ]] ||
    fail "a plain drag within the view left: $final ($(cat "$E2E_TMP/move.log"))"

run_drag "$E2E_TMP/copy.log" ctrl
final=$(grep '^state' "$E2E_TMP/copy.log" | tail -n 1)
echo "copy: $final"
[[ "$final" =~ ^state\ 2\ 0,0\ o\ (100,50|110,55)\ c\*\ select$ ]] ||
    fail "a drag with Ctrl within the view left: $final ($(cat "$E2E_TMP/copy.log"))"
echo "PASS"
