#!/usr/bin/env bash
# Several curves at once: a band over two of three curves and Delete, taken back with Ctrl+Z;
# Select All, Copy and Paste into a second copy; Home and End changing the saved order; and a
# drag of two curves into the second copy.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

T1="3 40 40 100 40 70 100"
T2="3 140 40 200 40 170 100"
T3="3 240 40 300 40 270 100"

# expect FILE CURVE...: the file holds these curves, bottom first.
expect() {
    local file=$1
    shift
    local got wanted="$#"
    got=$(ints_of "$file" | xargs)
    for curve in "$@"; do
        wanted+=" $curve"
    done
    [[ "$got" == "$wanted" ]] || fail "$file holds '$got', not '$wanted'"
}

start_copy a 20 40
start_copy b 700 40
draw_closed "$a_log" 40 40 100 40 70 100
draw_closed "$a_log" 140 40 200 40 170 100
draw_closed "$a_log" 240 40 300 40 270 100
keys_to "$a_win" alt+c s

# A band from empty space around the first two selects them; Delete takes both, Ctrl+Z brings
# both back.
drag_view "$a_log" 20 20 220 130
screenshot banded
keys_to "$a_win" Delete
save_as "$a_win" "$E2E_TMP/a"
expect "$E2E_TMP/a" "$T3"
keys_to "$a_win" ctrl+z
save_again "$a_win" "$E2E_TMP/a"
expect "$E2E_TMP/a" "$T1" "$T2" "$T3"

# Select All, Copy, and Paste in the second copy: the same curves, in the same order.
keys_to "$a_win" ctrl+a ctrl+c
keys_to "$b_win" ctrl+v
save_as "$b_win" "$E2E_TMP/b"
expect "$E2E_TMP/b" "$T1" "$T2" "$T3"

# Home brings the clicked curve to the front, End sends it to the back.
click_view "$a_log" 70 60
keys_to "$a_win" Home
save_again "$a_win" "$E2E_TMP/a"
expect "$E2E_TMP/a" "$T2" "$T3" "$T1"
keys_to "$a_win" End
save_again "$a_win" "$E2E_TMP/a"
expect "$E2E_TMP/a" "$T1" "$T2" "$T3"

# Two curves, the second added with Shift+click, dragged into the second copy: they leave the
# first and land together, keeping their shapes and their distance.
click_view "$a_log" 70 60
xdotool keydown shift
click_view "$a_log" 170 60
xdotool keyup shift
read -r sx sy <<<"$(screen_of "$a_log" 70 60)"
read -r tx ty <<<"$(screen_of "$b_log" 100 250)"
drag "$sx" "$sy" "$tx" "$ty"
screenshot dragged
save_again "$a_win" "$E2E_TMP/a"
expect "$E2E_TMP/a" "$T3"
save_again "$b_win" "$E2E_TMP/b"
mapfile -t v < <(ints_of "$E2E_TMP/b")
[[ ${#v[@]} -eq 36 && ${v[0]} -eq 5 ]] || fail "the second copy holds ${v[*]}"
dx=$((v[23] - 40)) dy=$((v[24] - 40))
moved() {
    local out="" n i=0
    for n in $1; do
        if ((i == 0)); then out=$n; else
            if ((i % 2 == 1)); then out+=" $((n + dx))"; else out+=" $((n + dy))"; fi
        fi
        i=$((i + 1))
    done
    echo "$out"
}
[[ "${v[*]:22:7}" == "$(moved "$T1")" && "${v[*]:29:7}" == "$(moved "$T2")" ]] ||
    fail "the dragged curves landed as ${v[*]:22}, moved by $dx, $dy"
((dy > 100)) || fail "the dragged curves did not land under the pointer: moved by $dx, $dy"

exit_copy "$a_win" "$a_pid"
exit_copy "$b_win" "$b_pid"
