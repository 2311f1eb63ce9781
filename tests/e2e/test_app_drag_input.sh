#!/usr/bin/env bash
# Keys and clicks that arrive while a drag runs reach nothing but the drag: not while the drag
# waits for the pointer to travel before it begins, and not while it waits for another running
# copy to say whether it took a drop. Cut, New, Paste and Delete pressed then change neither the
# drawing, nor the selection, nor the clipboard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

# Puts text on the clipboard from xclip, which serves it until something else takes it.
offer_text() {
    printf '%s' "$1" >"$E2E_TMP/text"
    spawn timeout 300 xclip -quiet -selection clipboard -i "$E2E_TMP/text"
    for ((i = 0; i < 50; i++)); do
        [[ "$(timeout 20 xclip -selection clipboard -o 2>/dev/null)" == "$1" ]] && return 0
        sleep 0.1
    done
    fail "xclip did not take the clipboard"
}

clipboard_holds_text() {
    local expected=$1 targets
    targets=$(timeout 20 xclip -selection clipboard -t TARGETS -o)
    grep -qx 'Tav.Swoop' <<<"$targets" && fail "the clipboard holds a curve: $targets"
    [[ "$(timeout 20 xclip -selection clipboard -o)" == "$expected" ]] ||
        fail "the clipboard changed: $(timeout 20 xclip -selection clipboard -o)"
}

# The keys and the click that must reach nothing while a drag runs.
readonly KEYS=(ctrl+x ctrl+n ctrl+v Delete shift+Delete)

start_copy a 20 40
start_copy b 700 40
draw_closed "$a_log" 60 60 200 80 120 200
keys_to "$a_win" alt+c s
save_as "$a_win" "$E2E_TMP/a"
offer_text before
xdotool windowfocus --sync "$a_win"

# The wait before the drag begins: a press on the selected curve, a move of one pixel, and
# the keys and a right click, all in one go, so that they arrive before the desktop's start
# time runs out. Then the drag goes on and drops within the window.
read -r sx sy <<<"$(screen_of "$a_log" 120 110)"
xdotool mousemove "$sx" "$sy"
sleep 0.3
xdotool mousedown 1
sleep 0.2
xdotool mousemove "$((sx + 1))" "$sy" key --delay 30 "${KEYS[@]}" click 3
sleep 0.2
for ((k = 1; k <= 12; k++)); do
    xdotool mousemove $((sx + 150 * k / 12)) $((sy + 100 * k / 12))
    sleep 0.08
done
sleep 0.2
xdotool mouseup 1
sleep 0.5
screenshot start-wait
[[ -z "$(xdotool search --onlyvisible --name '^Swoop2$' 2>/dev/null || true)" ]] ||
    fail "a message box opened during the drag"
clipboard_holds_text before
save_again "$a_win" "$E2E_TMP/a"
read -r wx wy <<<"$(check_shifted "$E2E_TMP/a" 60 60 200 80 120 200)"
((wx >= 100 && wx <= 150 && wy >= 60 && wy <= 100)) ||
    fail "the curve moved within the window by $wx, $wy"
# The moved curve is the selection: Copy offers it.
keys_to "$a_win" ctrl+c
timeout 20 xclip -selection clipboard -t Tav.Swoop -o >"$E2E_TMP/record"
le32 28 $((60 + wx)) $((60 + wy)) $((200 + wx)) $((80 + wy)) $((120 + wx)) $((200 + wy)) \
    >"$E2E_TMP/expected"
cmp "$E2E_TMP/expected" "$E2E_TMP/record" || fail "the moved curve is not the selection"

# The wait for another copy's answer: the target is stopped just before the release, so that
# the source waits for its word while the keys and a click arrive; then it goes on.
offer_text again
read -r sx sy <<<"$(screen_of "$a_log" $((120 + wx)) $((110 + wy)))"
read -r tx ty <<<"$(screen_of "$b_log" 220 160)"
xdotool mousemove "$sx" "$sy"
sleep 0.3
xdotool mousedown 1
sleep 0.2
for ((k = 1; k <= 12; k++)); do
    xdotool mousemove $((sx + (tx - sx) * k / 12)) $((sy + (ty - sy) * k / 12))
    sleep 0.08
done
sleep 0.3
b_program=$(pgrep -P "$b_pid" swoop2) || fail "copy b is not running"
kill -STOP "$b_program"
xdotool mouseup 1
sleep 0.3
read -r ex ey <<<"$(screen_of "$a_log" 400 300)"
xdotool key --delay 30 "${KEYS[@]}" mousemove "$ex" "$ey" click 1
sleep 0.3
kill -CONT "$b_program"
sleep 1
screenshot answer-wait
[[ -z "$(xdotool search --onlyvisible --name '^Swoop2$' 2>/dev/null || true)" ]] ||
    fail "a message box opened during the drag"
clipboard_holds_text again
# The other copy took the curve as a move: it is gone from the first, which selects nothing.
save_again "$a_win" "$E2E_TMP/a"
le32 0 >"$E2E_TMP/empty"
cmp "$E2E_TMP/empty" "$E2E_TMP/a" || fail "the first copy holds: $(ints_of "$E2E_TMP/a" | xargs)"
keys_to "$a_win" ctrl+c
clipboard_holds_text again
save_as "$b_win" "$E2E_TMP/b"
check_shifted "$E2E_TMP/b" 60 60 200 80 120 200 >/dev/null

exit_copy "$b_win" "$b_pid"
exit_copy "$a_win" "$a_pid"
echo PASS
