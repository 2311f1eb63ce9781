#!/usr/bin/env bash
# A clipboard owner that stops answering (stopped with SIGSTOP while it owns a curve record):
# the program's menus and view keep answering, and a Paste waits for the owner at most once.
# X11 gives up on a silent owner after about 5 s per question, so the limits below sit between
# one such wait and two: they catch a hang or a repeated wait, they do not measure.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

now_ms() { date +%s%3N; }

# Opens the Edit menu and waits until the program has shown it; prints the milliseconds taken.
open_edit_menu() {
    local before start
    before=$(grep -c '^menu: ' "$a_log" || true)
    start=$(now_ms)
    xdotool windowfocus --sync "$a_win"
    xdotool key alt+e
    for ((i = 0; i < 400; i++)); do
        [[ $(grep -c '^menu: ' "$a_log" || true) -gt $before ]] && break
        sleep 0.05
    done
    [[ $(grep -c '^menu: ' "$a_log" || true) -gt $before ]] || fail "the Edit menu did not open"
    echo $(($(now_ms) - start))
    xdotool key Escape
    sleep 0.3
}

start_copy a 20 40
click_view "$a_log" 40 40
click_view "$a_log" 200 60
click_view "$a_log" 120 180
click_view "$a_log" 120 180 3

le32 20 10 10 60 60 >"$E2E_TMP/record"
spawn timeout 300 xclip -quiet -selection clipboard -t Tav.Swoop -i "$E2E_TMP/record"
sleep 1
# The owner is xclip itself, not the timeout that runs it; the cleanup wakes and ends it too.
owner=$(pgrep -P "$!" xclip) || fail "xclip does not own the clipboard"
E2E_PIDS+=("$owner")
kill -STOP "$owner"

# Menus open, the Draw tool still draws and the window repaints it.
total=0
for k in 1 2 3; do
    ms=$(open_edit_menu)
    echo "Edit menu $k opened in $ms ms with the owner stopped"
    total=$((total + ms))
done
((total < 12000)) || fail "three menus took $total ms with the clipboard's owner stopped"

screenshot before-drawing "$a_win"
click_view "$a_log" 250 250
click_view "$a_log" 330 300
click_view "$a_log" 330 300 3
screenshot after-drawing "$a_win"
read -r vx vy _ <<<"$(tail_geometry "$a_log" view)"
read -r wx wy _ <<<"$(xdotool getwindowgeometry --shell "$a_win" | sed -n 's/^[XY]=//p' | tr '\n' ' ')"
[[ $(black_pixels "$ARTEFACTS/after-drawing.png" $((vx - wx + 250)) $((vy - wy + 250)) 81 51) -gt 20 ]] ||
    fail "the window did not repaint the curve drawn with the owner stopped"

# One Paste: it may wait for the stopped owner once, never once per question.
start=$(now_ms)
keys_to "$a_win" ctrl+v
ms=$(open_edit_menu)
paste_ms=$(($(now_ms) - start))
echo "Paste and the next menu took $paste_ms ms with the owner stopped"
((paste_ms < 10000)) || fail "a Paste with the owner stopped held the program for $paste_ms ms"

kill -CONT "$owner"
kill -0 "$(pgrep -P "$a_pid")" 2>/dev/null || fail "the program ended"
ms=$(open_edit_menu)
echo "Edit menu opened in $ms ms after the owner went on"
exit_copy "$a_win" "$a_pid"
echo PASS
