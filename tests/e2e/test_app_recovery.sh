#!/usr/bin/env bash
# Work survives a program that is killed: two seconds after an edit the recovery copy holds it,
# and the next start offers it before anything else. Yes brings the drawing back under its name
# with its changes unsaved; No deletes the copy; a normal Exit leaves nothing to offer; of two
# programs started at once after a crash, exactly one offers the copy; a program ended by SIGTERM
# with nothing unsaved leaves nothing behind.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

state=$XDG_STATE_HOME/swoop2

# The program itself, not the timeout that runs it.
kill_program() {
    local runner=$1 program
    program=$(pgrep -P "$runner")
    kill -9 "$program"
    wait "$runner" || true
}

copies() {
    find "$state" -name '*.drawing' 2>/dev/null | wc -l
}

# Counts the program's message boxes on the screen.
boxes() {
    xdotool search --onlyvisible --name '^Swoop2$' 2>/dev/null | wc -l || true
}

# Yes: a saved drawing changed and killed comes back under its name, modified; its file is as
# it was saved until the user saves again, and then holds the drawing as it was at the kill.
start_copy a 40 40
click_view "$a_log" 100 100
click_view "$a_log" 300 120
click_view "$a_log" 250 300
click_view "$a_log" 200 200 3
file="$E2E_TMP/drawing"
save_as "$a_win" "$file"
le32 1 3 100 100 300 120 250 300 >"$E2E_TMP/saved"
cmp "$E2E_TMP/saved" "$file" || fail "the first save is not the drawn curve"
[[ $(copies) -eq 0 ]] || fail "a saved drawing still has a recovery copy"
keys_to "$a_win" alt+c s
drag_view "$a_log" 100 100 150 60
sleep 2
le32 1 3 150 60 300 120 250 300 >"$E2E_TMP/edited"
[[ $(copies) -eq 1 ]] || fail "two seconds after an edit there is no recovery copy"
cmp "$E2E_TMP/edited" "$state"/*.drawing || fail "the recovery copy is not the edited drawing"
kill_program "$a_pid"

offer=Return start_copy b 40 40
screenshot recovered
[[ "$(xdotool getwindowname "$b_win")" == "drawing - Swoop2" ]] ||
    fail "caption of the recovered drawing: $(xdotool getwindowname "$b_win")"
cmp "$E2E_TMP/saved" "$file" || fail "recovering changed the file before it was saved"
keys_to "$b_win" alt+f
xdotool key x
answer_box alt+y
wait "$b_pid" || fail "the program ended with status $?"
cmp "$E2E_TMP/edited" "$file" || fail "the recovered drawing saved differently"
[[ -z "$(ls -A "$state")" ]] || fail "a normal end left files behind: $(ls "$state")"

# No: the copy is deleted, and the next start offers nothing.
start_copy c 40 40
draw_closed "$c_log" 100 100 200 100 150 200
sleep 2
[[ $(copies) -eq 1 ]] || fail "no recovery copy of an untitled drawing"
kill_program "$c_pid"
offer=alt+n start_copy d 40 40
[[ $(copies) -eq 0 ]] || fail "No left the recovery copy"
[[ "$(xdotool getwindowname "$d_win")" == "Untitled - Swoop2" ]] ||
    fail "caption after declining: $(xdotool getwindowname "$d_win")"
exit_copy "$d_win" "$d_pid"
start_copy e 40 40
[[ $(boxes) -eq 0 ]] || fail "a declined copy was offered again"
exit_copy "$e_win" "$e_pid"

# A normal Exit with the changes discarded at the prompt: nothing is left to offer.
start_copy f 40 40
draw_closed "$f_log" 100 100 200 100 150 200
sleep 2
[[ $(copies) -eq 1 ]] || fail "no recovery copy before Exit"
exit_copy "$f_win" "$f_pid"
[[ -z "$(ls -A "$state")" ]] || fail "Exit left files behind: $(ls "$state")"
start_copy g 40 40
[[ $(boxes) -eq 0 ]] || fail "a copy was offered after a normal Exit"
exit_copy "$g_win" "$g_pid"

# Two programs started at once after a crash: one offers the copy, the other starts as usual.
start_copy h 40 40
draw_closed "$h_log" 100 100 200 100 150 200
sleep 2
kill_program "$h_pid"
: >"$E2E_TMP/i.log" >"$E2E_TMP/j.log"
SWOOP2_SHOWN_TEXT_LOG=$E2E_TMP/i.log spawn timeout 300 "$SWOOP2"
i_pid=$!
SWOOP2_SHOWN_TEXT_LOG=$E2E_TMP/j.log spawn timeout 300 "$SWOOP2"
j_pid=$!
box=$(wait_for_window '^Swoop2$')
for ((k = 0; k < 200; k++)); do
    grep -q '^view: ' "$E2E_TMP/i.log" "$E2E_TMP/j.log" && break
    sleep 0.1
done
grep -q '^view: ' "$E2E_TMP/i.log" "$E2E_TMP/j.log" || fail "neither program showed its window"
sleep 2
screenshot two_started
[[ $(boxes) -eq 1 ]] || fail "$(boxes) programs offer the copy"
xdotool windowfocus --sync "$box"
sleep 0.3
xdotool key alt+n
wait_for_line "$E2E_TMP/i.log" '^view: '
wait_for_line "$E2E_TMP/j.log" '^view: '
[[ $(copies) -eq 0 ]] || fail "No left the recovery copy"
kill "$i_pid" "$j_pid" 2>/dev/null || true
wait "$i_pid" "$j_pid" 2>/dev/null || true

# Ended by SIGTERM once its changes were saved: nothing is left in the state folder.
start_copy k 40 40
draw_closed "$k_log" 100 100 200 100 150 200
for ((i = 0; i < 100; i++)); do
    [[ $(copies) -eq 1 ]] && break
    sleep 0.1
done
[[ $(copies) -eq 1 ]] || fail "no recovery copy before the save"
save_as "$k_win" "$E2E_TMP/terminated"
kill -TERM "$(pgrep -P "$k_pid")"
wait "$k_pid" || true
[[ -z "$(ls -A "$state")" ]] || fail "SIGTERM after a save left files behind: $(ls "$state")"
echo PASS
