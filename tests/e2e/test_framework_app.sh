#!/usr/bin/env bash
# The framework's test application as a running program: start-up, a menu, a toolbar button's
# status prompt and tooltip, a floating toolbar's caption, a screenshot, Exit, and the exit
# status of a start-up that fails.
source "$(dirname "$0")/lib.sh"

APP=${SWOOP2_BUILD_DIR:?}/tests/framework_app/framework_app
[[ -x "$APP" ]] || fail "no test application at $APP"
LOG=$E2E_TMP/shown.log

FRAMEWORK_APP_LOG=$LOG spawn timeout 120 "$APP"
app_pid=$!
win=$(wait_for_window '^Untitled - FwTest$')
xdotool windowmove "$win" 100 100
xdotool windowfocus --sync "$win"
sleep 1
grep -q '^status: Ready$' "$LOG" || fail "no idle text: $(cat "$LOG")"

# The key-state panes follow the lock keys.
xdotool key Caps_Lock
sleep 0.5
grep -q '^panes: \[CAP\] \[\] \[\]$' "$LOG" || fail "CAP pane did not follow: $(cat "$LOG")"
xdotool key Caps_Lock
sleep 0.5
[[ "$(grep '^panes: ' "$LOG" | tail -n 1)" == "panes: [] [] []" ]] || fail "CAP pane stayed on"

# A menu opened from the keyboard highlights its first item and shows its prompt.
xdotool key alt+f
sleep 0.5
screenshot menu
xdotool key Escape
sleep 0.3
grep -q '^status: Create a new document$' "$LOG" || fail "no menu prompt: $(cat "$LOG")"

# The pointer resting on Save shows its prompt and its tooltip.
save=$(grep "^button: 57603|" "$LOG" | tail -n 1 | cut -d'|' -f2)
[[ -n "$save" ]] || fail "the Save button was not found: $(cat "$LOG")"
read -r sx sy <<<"$save"
xdotool mousemove "$sx" "$sy"
sleep 0.3
xdotool mousemove $((sx + 1)) "$sy"
sleep 1.5
grep -q '^status: Save the active document$' "$LOG" || fail "no button prompt: $(cat "$LOG")"
grep -q '^tooltip: Save$' "$LOG" || fail "no tooltip: $(cat "$LOG")"
screenshot tooltip

# Dragged by its handle away from the frame, the drawing tools float with their caption.
bar=$(grep "^bar: Drawing Tools|" "$LOG" | tail -n 1 | cut -d'|' -f2)
[[ -n "$bar" ]] || fail "the Drawing Tools bar was not found"
read -r bx by bw bh <<<"$bar"
drag $((bx + 6)) $((by + bh / 2)) 700 800
floating=$(xdotool search --onlyvisible --name '^Drawing Tools$' | head -n 1 || true)
[[ -n "$floating" ]] || fail "the toolbar did not float"
[[ "$(xdotool getwindowname "$floating")" == "Drawing Tools" ]] || fail "wrong floating caption"
# A desktop decorates it with its caption: the Motif hints do not restrict its decorations
# (flag 0x2), as they do for a frameless window.
hints=$(xprop -id "$floating" _MOTIF_WM_HINTS)
flags=$(sed -n 's/.*= *\([0-9a-fx]*\),.*/\1/p' <<<"$hints")
[[ -z "$flags" ]] || (((flags & 2) == 0)) || fail "the floating toolbar has no caption: $hints"
screenshot floating

# File > Exit ends the program with status 0.
xdotool windowfocus --sync "$win"
xdotool key alt+f
sleep 0.3
xdotool key x
status=0
wait "$app_pid" || status=$?
[[ $status -eq 0 ]] || fail "Exit ended with status $status"

# A file that cannot be opened: the framework's message, then start-up fails with status 1.
spawn timeout 60 "$APP" "$E2E_TMP/missing-file"
bad_pid=$!
box=$(wait_for_window '^FwTest$')
screenshot open-failure
xdotool windowfocus --sync "$box"
xdotool key Return
status=0
wait "$bad_pid" || status=$?
[[ $status -eq 1 ]] || fail "failed start-up ended with status $status"
echo "PASS"
