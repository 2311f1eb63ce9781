#!/usr/bin/env bash
# Drag and drop between two processes and within one window, driven with the pointer.
source "$(dirname "$0")/lib.sh"

helper=${SWOOP2_BUILD_DIR:?}/tests/e2e/ole_helper/ole_helper
[[ -x "$helper" ]] || fail "no helper at $helper"

record=$E2E_TMP/record.bin
printf '\x14\x00\x00\x00\x0a\x00\x00\x00\x0d\x0a\x00\x00\x00\xff\xff\xff\x1e\x00\x00\x00' >"$record"
hex=$(od -An -tx1 -v "$record" | tr -d ' \n')

# Windows of 300 x 300: the source at (100, 100), which also takes drops, a target at
# (600, 100), and at (1100, 100) a target whose drops fail after it accepted the hover.
spawn timeout 300 "$helper" window "Source" 100 100 "$record" >"$E2E_TMP/source.log"
spawn timeout 300 "$helper" window "Target" 600 100 >"$E2E_TMP/target.log"
OLE_HELPER_FAIL_DROPS=1 spawn timeout 300 "$helper" window "Failing" 1100 100 >"$E2E_TMP/failing.log"
source_window=$(wait_for_window '^Source$')
target_window=$(wait_for_window '^Target$')
failing_window=$(wait_for_window '^Failing$')
xdotool windowmove "$source_window" 100 100
xdotool windowmove "$target_window" 600 100
xdotool windowmove "$failing_window" 1100 100
sleep 0.5

results() { grep -c '^result' "$E2E_TMP/source.log" || true; }

# Waits for the source's next drag result and prints it.
next_result() {
    local before=$1
    for ((i = 0; i < 100; i++)); do
        if (($(results) > before)); then
            grep '^result' "$E2E_TMP/source.log" | tail -n 1 | cut -d' ' -f2
            return 0
        fi
        sleep 0.1
    done
    fail "the drag returned no result: $(cat "$E2E_TMP/source.log")"
}

# Into the other process: the record arrives, and the source is told move.
n=$(results)
drag 250 250 750 250
effect=$(next_result "$n")
[[ "$effect" == 2 ]] || fail "a plain drag returned $effect, not move"
grep -q "^drop effect=2 nested=0 .* bytes=$hex\$" "$E2E_TMP/target.log" ||
    fail "the target did not get the record: $(cat "$E2E_TMP/target.log")"
grep -q '^enter key=1 nested=0' "$E2E_TMP/target.log" || fail "no enter with the left button"

# With Ctrl held: copy, and the target saw the control key.
n=$(results)
drag 250 250 750 250 ctrl
effect=$(next_result "$n")
[[ "$effect" == 1 ]] || fail "a drag with Ctrl returned $effect, not copy"
grep -q '^over key=9 nested=0' "$E2E_TMP/target.log" || fail "the target never saw MK_CONTROL"
grep -q '^drop effect=1 nested=0' "$E2E_TMP/target.log" || fail "no drop with copy"

# Into a program whose drop fails: none, so that the source keeps its data.
n=$(results)
drag 250 250 1250 250
effect=$(next_result "$n")
[[ "$effect" == 0 ]] || fail "a failed drop in another program returned $effect"
grep -q "^drop effect=2 nested=0 .* bytes=$hex\$" "$E2E_TMP/failing.log" ||
    fail "the failing target got no drop: $(cat "$E2E_TMP/failing.log")"

# Within the source's own window: the target's handlers run inside the drag.
n=$(results)
drag 150 150 260 220
effect=$(next_result "$n")
[[ "$effect" == 2 ]] || fail "a drag within the window returned $effect"
for step in enter over drop; do
    grep -q "^$step .*nested=1" "$E2E_TMP/source.log" ||
        fail "no nested $step: $(cat "$E2E_TMP/source.log")"
done
grep -q "^drop effect=2 nested=1 at=160,120 bytes=$hex\$" "$E2E_TMP/source.log" ||
    fail "the drop within the window was wrong: $(grep '^drop' "$E2E_TMP/source.log")"

# Released before the pointer travelled the start distance: none, and no drag ran.
drops=$(grep -c '^drop' "$E2E_TMP/source.log")
n=$(results)
xdotool mousemove 200 200
sleep 0.3
xdotool mousedown 1
sleep 0.1
xdotool mousemove 202 201
sleep 0.1
xdotool mouseup 1
effect=$(next_result "$n")
[[ "$effect" == 0 ]] || fail "a release before the drag began returned $effect"
(($(grep -c '^drop' "$E2E_TMP/source.log") == drops)) || fail "a drop happened without a drag"

# Released over no target: none. The drag still begins after a release that ended the
# last one before it began.
n=$(results)
drag 250 250 1500 900
effect=$(next_result "$n")
[[ "$effect" == 0 ]] || fail "a release over no target returned $effect"

cp "$E2E_TMP"/*.log "$ARTEFACTS/"
echo PASS
