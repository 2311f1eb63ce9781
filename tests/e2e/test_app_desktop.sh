#!/usr/bin/env bash
# Swoop2 on a desktop with a window manager, as a user meets it: the captions the desktop shows,
# dialogs that take the keyboard and give it back, and toolbars that float with their own
# caption and still prompt in the main window's status bar.
export SWOOP2_E2E_WM=openbox
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

# The caption as the desktop reads and shows it.
caption() {
    xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME([A-Z0-9_]*) = "\(.*\)"$/\1/p'
}

# Waits until the window manager has given the keyboard to a window.
wait_active() {
    local win=$1 what=$2
    for ((i = 0; i < 50; i++)); do
        [[ "$(xdotool getactivewindow 2>/dev/null)" == "$win" ]] && return 0
        sleep 0.1
    done
    fail "$what does not have the keyboard; $(xdotool getactivewindow getwindowname 2>&1) has"
}

# Waits until no window has the title.
wait_gone() {
    for ((i = 0; i < 50; i++)); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "a window titled '$1' is still there"
}

# Waits until a log gains a line matching the pattern after it had MARK lines.
wait_for_new_line() {
    local log=$1 mark=$2 pattern=$3
    for ((i = 0; i < 50; i++)); do
        tail -n +$((mark + 1)) "$log" | grep -q -- "$pattern" && return 0
        sleep 0.1
    done
    fail "no '$pattern' in $log: $(tail -n +$((mark + 1)) "$log")"
}

start_copy a 40 40
wait_for_line "$a_log" '^status: Ready$'
[[ "$(caption "$a_win")" == "Untitled - Swoop2" ]] || fail "main caption: $(caption "$a_win")"

# Dialogs take the keyboard without help and give it back to the main window when they close:
# the keys below go wherever the window manager put the focus.
keys_to "$a_win" alt+h a
about=$(wait_for_window '^About Swoop2$')
[[ "$(caption "$about")" == "About Swoop2" ]] || fail "About caption: $(caption "$about")"
wait_active "$about" "the About box"
xdotool key Escape
wait_gone '^About Swoop2$'
wait_active "$a_win" "the main window after the About box"
xdotool key ctrl+o
dialog=$(wait_for_window '^Open$')
[[ "$(caption "$dialog")" == "Open" ]] || fail "Open caption: $(caption "$dialog")"
wait_active "$dialog" "the Open dialog"
screenshot open-dialog
xdotool key Escape
wait_gone '^Open$'
wait_active "$a_win" "the main window after the Open dialog"

# Where the log last placed a toolbar: "X Y W H".
bar_place() {
    grep "^bar: $1|" "$a_log" | tail -n 1 | cut -d'|' -f2
}

# Each toolbar dragged by its handle away from the frame floats in a window of its own, which
# the desktop frames and captions with exactly the bar's name. Returns once the log has placed
# the floating bar and its buttons.
float_bar() {
    local name=$1 x=$2 y=$3 docked bx by bw bh win top
    docked=$(bar_place "$name")
    read -r bx by bw bh <<<"$docked"
    [[ -n "$bh" ]] || fail "the $name bar was not found"
    drag $((bx + 6)) $((by + bh / 2)) "$x" "$y"
    for ((i = 0; i < 50; i++)); do
        win=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -n 1 || true)
        [[ -n "$win" && "$(bar_place "$name")" != "$docked" ]] &&
            xprop -id "$win" _NET_FRAME_EXTENTS | grep -q = && break
        sleep 0.1
    done
    if [[ -z "$win" ]]; then
        screenshot "not-floating-$name"
        fail "the $name bar did not float: $(grep '^bar: ' "$a_log")"
    fi
    # The desktop may move the bar as it frames it: the log settles after that.
    local count last=-1 steady=0
    for ((i = 0; i < 50 && steady < 5; i++)); do
        sleep 0.1
        count=$(wc -l <"$a_log")
        ((count == last)) && steady=$((steady + 1)) || steady=0
        last=$count
    done
    [[ "$(caption "$win")" == "$name" ]] || fail "floating $name bar captioned '$(caption "$win")'"
    top=$(xprop -id "$win" _NET_FRAME_EXTENTS | sed -n 's/.*= *[0-9]*, *[0-9]*, *\([0-9]*\),.*/\1/p')
    ((${top:-0} > 0)) || fail "the desktop gave the floating $name bar no caption bar"
    # A tool window: nothing to maximise or minimise.
    local actions
    actions=$(xprop -id "$win" _NET_WM_ALLOWED_ACTIONS)
    grep -q '_NET_WM_ACTION_MOVE' <<<"$actions" || fail "the $name bar cannot be moved: $actions"
    ! grep -q 'MAXIMIZE\|MINIMIZE' <<<"$actions" ||
        fail "the floating $name bar can be maximised or minimised: $actions $(xprop -id "$win" _MOTIF_WM_HINTS _NET_WM_WINDOW_TYPE)"
}
read -r _ dock_y _ <<<"$(bar_place 'Drawing Tools')"
float_bar 'Drawing Tools' 900 700
# Dragged back by its handle onto the frame's top edge, it docks again.
read -r bx by _ bh <<<"$(bar_place 'Drawing Tools')"
drag $((bx + 6)) $((by + bh / 2)) 400 $((dock_y + 15))
wait_gone '^Drawing Tools$'
float_bar Main 700 500
screenshot floating

# The pointer resting on Save of the floating Main bar prompts in the main window's status bar.
read -r sx sy <<<"$(grep '^button: 57603|' "$a_log" | tail -n 1 | cut -d'|' -f2)"
[[ -n "$sy" ]] || fail "the Save button was not found"
mark=$(wc -l <"$a_log")
xdotool mousemove "$sx" "$sy"
sleep 0.3
xdotool mousemove $((sx + 1)) "$sy"
wait_for_new_line "$a_log" "$mark" '^status: Save the active document$'
screenshot floating-prompt
# Leaving the button brings the idle text back.
mark=$(wc -l <"$a_log")
xdotool mousemove 1500 1000
wait_for_new_line "$a_log" "$mark" '^status: Ready$'

# A floating bar's buttons still command the frame, and the frame's keys still work.
read -r ax ay <<<"$(grep '^button: 57664|' "$a_log" | tail -n 1 | cut -d'|' -f2)"
xdotool mousemove "$ax" "$ay" click 1
about=$(wait_for_window '^About Swoop2$')
wait_active "$about" "the About box opened from the floating bar"
xdotool key Escape
wait_gone '^About Swoop2$'
mark=$(wc -l <"$a_log")
keys_to "$a_win" alt+f
xdotool key Escape
wait_for_new_line "$a_log" "$mark" '^menu: &File'
exit_copy "$a_win" "$a_pid"
echo PASS
