#!/usr/bin/env bash
# Undo and Redo as a person uses them: draw a curve, drag one of its points, Cut, Paste and
# Delete it, then Ctrl+Z back to the empty drawing and Ctrl+Y forward again, saving on the way;
# Edit > Undo, Redo and Delete are grayed exactly when there is nothing for them to do.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

# edit_menu_grayed WANT: opens the Edit menu and checks which of Undo, Redo and Delete it shows
# grayed, as a word of three letters: U, R, D when grayed, "-" when not.
edit_menu_grayed() {
    local want=$1 before line got=""
    before=$(grep -c '^grayed: &Edit' "$a_log" || true)
    xdotool windowfocus --sync "$a_win"
    xdotool key alt+e
    for ((i = 0; i < 100; i++)); do
        [[ $(grep -c '^grayed: &Edit' "$a_log" || true) -gt $before ]] && break
        sleep 0.05
    done
    line=$(grep '^grayed: &Edit' "$a_log" | tail -n 1)
    xdotool key Escape
    sleep 0.3
    [[ -n "$line" ]] || fail "the Edit menu did not open"
    [[ "$line" == *"|&Undo"$'\t'* ]] && got+=U || got+=-
    [[ "$line" == *"|&Redo"$'\t'* ]] && got+=R || got+=-
    [[ "$line" == *"|&Delete"$'\t'* ]] && got+=D || got+=-
    [[ "$got" == "$want" ]] || fail "Edit menu grayed $got, expected $want ($line)"
}

# press KEY COUNT: the key COUNT times, as a person presses it.
press() {
    for ((k = 0; k < $2; k++)); do
        keys_to "$a_win" "$1"
    done
}

expect_saved() {
    save_again "$a_win" "$file"
    cmp "$1" "$file" || fail "$2: $(ints_of "$file" | tr '\n' ' ')"
}

start_copy a 40 40
edit_menu_grayed URD

# One curve of three points, closed: one step. Saved as a file, so that Ctrl+S saves it again.
draw_closed "$a_log" 100 100 300 120 200 250
edit_menu_grayed -R-
file="$E2E_TMP/drawing"
save_as "$a_win" "$file"
le32 1 3 100 100 300 120 200 250 >"$E2E_TMP/drawn"
le32 1 3 150 60 300 120 200 250 >"$E2E_TMP/dragged"
le32 0 >"$E2E_TMP/empty"
cmp "$E2E_TMP/drawn" "$file" || fail "the saved file is not the drawn curve"

# A point drag, Cut, Paste and Delete: four more steps.
keys_to "$a_win" alt+c s
drag_view "$a_log" 100 100 150 60
sleep 0.8
keys_to "$a_win" ctrl+x
keys_to "$a_win" ctrl+v
keys_to "$a_win" Delete
screenshot deleted
edit_menu_grayed -RD
expect_saved "$E2E_TMP/empty" "the drawing after Delete"

# Back one step at a time: the pasted curve, then nothing, then the dragged curve, the drawn
# one, and the empty drawing the program started with.
press ctrl+z 1
expect_saved "$E2E_TMP/dragged" "one Undo does not bring back the pasted curve"
edit_menu_grayed ---
press ctrl+z 1
expect_saved "$E2E_TMP/empty" "Undo of Paste"
press ctrl+z 1
expect_saved "$E2E_TMP/dragged" "Undo of Cut"
press ctrl+z 1
expect_saved "$E2E_TMP/drawn" "Undo of the point drag"
press ctrl+z 1
expect_saved "$E2E_TMP/empty" "Undo of the drawn curve"
screenshot undone
edit_menu_grayed U-D

# And forward again to the end, Delete included.
press ctrl+y 4
expect_saved "$E2E_TMP/dragged" "four Redos"
press ctrl+y 1
expect_saved "$E2E_TMP/empty" "Redo of Delete"
edit_menu_grayed -RD
exit_copy "$a_win" "$a_pid"
echo PASS
