#!/usr/bin/env bash
# Dragging curves with the Select tool: from one running copy into another (a move takes the
# curve away from the first; with Ctrl both keep it) and within one window (a move, and a copy
# with Ctrl).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

# near VALUE LOW HIGH
near() {
    [[ $1 -ge $2 && $1 -le $3 ]]
}

start_copy a 20 40
start_copy b 700 40
draw_closed "$a_log" 60 60 200 80 120 200
keys_to "$a_win" alt+c s

# A plain drag into the other copy moves the curve there.
read -r sx sy <<<"$(screen_of "$a_log" 120 110)"
read -r tx ty <<<"$(screen_of "$b_log" 220 160)"
drag "$sx" "$sy" "$tx" "$ty"
screenshot moved
save_as "$a_win" "$E2E_TMP/a"
le32 0 >"$E2E_TMP/empty"
cmp "$E2E_TMP/empty" "$E2E_TMP/a" || fail "the first copy kept the moved curve: $(ints_of "$E2E_TMP/a" | xargs)"
save_as "$b_win" "$E2E_TMP/b"
read -r dx dy <<<"$(check_shifted "$E2E_TMP/b" 60 60 200 80 120 200)"
# Dropped where the pointer let go, less the few pixels the pointer travelled before the drag
# proper began.
near "$dx" 60 110 && near "$dy" 20 60 || fail "the moved curve landed at an offset of $dx, $dy"

# With Ctrl held the drag copies: both copies have the curve.
read -r sx sy <<<"$(screen_of "$b_log" $((120 + dx)) $((110 + dy)))"
read -r tx ty <<<"$(screen_of "$a_log" 120 110)"
drag "$sx" "$sy" "$tx" "$ty" ctrl
screenshot copied
save_again "$b_win" "$E2E_TMP/b"
check_shifted "$E2E_TMP/b" 60 60 200 80 120 200 >/dev/null
save_again "$a_win" "$E2E_TMP/a"
read -r cx cy <<<"$(check_shifted "$E2E_TMP/a" 60 60 200 80 120 200)"
near "$cx" -40 10 && near "$cy" -40 10 || fail "the copied curve landed at an offset of $cx, $cy"

# Within one window, a drag moves the curve by about the pointer's travel.
read -r sx sy <<<"$(screen_of "$a_log" $((120 + cx)) $((110 + cy)))"
drag "$sx" "$sy" $((sx + 150)) $((sy + 100))
screenshot within
save_again "$a_win" "$E2E_TMP/a"
read -r wx wy <<<"$(check_shifted "$E2E_TMP/a" 60 60 200 80 120 200)"
near $((wx - cx)) 110 150 && near $((wy - cy)) 70 100 ||
    fail "the curve moved within the window by $((wx - cx)), $((wy - cy))"

# Within one window with Ctrl held, the curve stays and a copy lands about the pointer's travel
# away, on top.
read -r sx sy <<<"$(screen_of "$a_log" $((120 + wx)) $((110 + wy)))"
drag "$sx" "$sy" $((sx + 100)) $((sy + 150)) ctrl
screenshot within-copied
save_again "$a_win" "$E2E_TMP/a"
mapfile -t v < <(ints_of "$E2E_TMP/a")
expected_first="1 3 $((60 + wx)) $((60 + wy)) $((200 + wx)) $((80 + wy)) $((120 + wx)) $((200 + wy))"
[[ ${#v[@]} -eq 15 && ${v[0]} -eq 2 && "1 ${v[*]:1:7}" == "$expected_first" && ${v[8]} -eq 3 ]] ||
    fail "a drag with Ctrl within the window left: ${v[*]}"
cx=$((v[9] - 60)) cy=$((v[10] - 60))
[[ "${v[*]:11}" == "$((200 + cx)) $((80 + cy)) $((120 + cx)) $((200 + cy))" ]] ||
    fail "the copy within the window changed its shape: ${v[*]}"
near $((cx - wx)) 70 110 && near $((cy - wy)) 110 150 ||
    fail "the copy within the window landed $((cx - wx)), $((cy - wy)) away"

# Into a copy zoomed to 200% and scrolled, the curve from a copy at 100% lands centred on the
# unit under the pointer, as it does between copies at 100%.
read -r bx by bw bh <<<"$(tail_geometry "$b_log" view)"
scroll_lines() { grep -c '^scroll: ' "$b_log" || true; }
xdotool mousemove $((bx + 200)) $((by + 150))
sleep 0.2
xdotool keydown ctrl
for step in 1 2; do
    scrolls=$(scroll_lines)
    xdotool click 4
    for ((i = 0; i < 50 && $(scroll_lines) == scrolls; i++)); do sleep 0.1; done
done
xdotool keyup ctrl
read -r bsx bsy <<<"$(grep '^scroll: ' "$b_log" | tail -n 1 | cut -d' ' -f2-)"
read -r sx sy <<<"$(screen_of "$a_log" $((120 + cx)) $((110 + cy)))"
drag "$sx" "$sy" $((bx + 300)) $((by + 200))
screenshot zoomed-target
save_again "$b_win" "$E2E_TMP/b"
mapfile -t v < <(ints_of "$E2E_TMP/b")
# The unit nearest the pointer at zoom 2, less half the curve's 140 by 140 units.
zx=$(((bsx + 300 + 1) / 2 - 70 - 60)) zy=$(((bsy + 200 + 1) / 2 - 70 - 60))
[[ ${#v[@]} -eq 15 && "${v[*]:8}" == "3 $((60 + zx)) $((60 + zy)) $((200 + zx)) $((80 + zy)) $((120 + zx)) $((200 + zy))" ]] ||
    fail "into a copy at 200% scrolled to $bsx $bsy the curve landed at ${v[*]:8}, not moved by $zx $zy"

exit_copy "$b_win" "$b_pid"
exit_copy "$a_win" "$a_pid"
echo PASS
