#!/usr/bin/env bash
# Helpers for the end-to-end tests of Swoop2 itself; sourced after lib.sh. Each running copy
# writes what it shows to a log (status texts, tooltips, menus, where its view and buttons
# are), since none of that can be read off the screen.

SWOOP2=${SWOOP2:-${SWOOP2_BUILD_DIR:?}/swoop2}
[[ -x "$SWOOP2" ]] || fail "no program at $SWOOP2"

# Waits until a file holds a line matching the pattern.
wait_for_line() {
    local file=$1 pattern=$2 timeout=${3:-20}
    for ((i = 0; i < timeout * 10; i++)); do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "no '$pattern' in $file within ${timeout}s: $(cat "$file" 2>/dev/null)"
}

# Waits for a message box of the program (captioned "Swoop2") and presses a key in it.
answer_box() {
    local key=$1 box
    box=$(wait_for_window '^Swoop2$')
    xdotool windowfocus --sync "$box"
    sleep 0.3
    xdotool key "$key"
}

# start_copy NAME X Y [ARGUMENT...]: starts a copy of the program with its log in
# $E2E_TMP/NAME.log, moves its window to X, Y and focuses it. Sets NAME_pid (the program),
# NAME_win (its window) and NAME_log. With offer=KEY set for the call, the copy must first offer
# to recover a drawing, and KEY answers the offer.
start_copy() {
    local name=$1 x=$2 y=$3
    shift 3
    local log=$E2E_TMP/$name.log
    : >"$log"
    SWOOP2_SHOWN_TEXT_LOG=$log spawn timeout 300 "$SWOOP2" "$@"
    local pid=$!
    [[ -z "${offer:-}" ]] || answer_box "$offer"
    wait_for_line "$log" '^view: '
    local win=""
    for ((i = 0; i < 100; i++)); do
        win=$(xdotool search --all --onlyvisible --pid "$(pgrep -P "$pid" | head -n 1)" \
            --name ' - Swoop2$' 2>/dev/null | head -n 1 || true)
        [[ -n "$win" ]] && break
        sleep 0.1
    done
    [[ -n "$win" ]] || fail "no window of copy $name"
    local before count last=-1 steady=0
    before=$(grep -c '^view: ' "$log")
    xdotool windowmove "$win" "$x" "$y"
    # The view's place is logged again once the move has settled. A window manager may have
    # placed the window anywhere first, so only a line written after the move counts, and
    # only once no other follows.
    for ((i = 0; i < 100 && steady < 6; i++)); do
        sleep 0.1
        count=$(grep -c '^view: ' "$log")
        ((count > before && count == last)) && steady=$((steady + 1)) || steady=0
        last=$count
    done
    xdotool windowfocus --sync "$win"
    printf -v "${name}_pid" '%s' "$pid"
    printf -v "${name}_win" '%s' "$win"
    printf -v "${name}_log" '%s' "$log"
}

# The last logged geometry of a kind: "view" gives "X Y W H"; "button ID" gives "X Y".
tail_geometry() {
    local log=$1 kind=$2 id=${3:-}
    if [[ "$kind" == view ]]; then
        grep '^view: ' "$log" | tail -n 1 | cut -d' ' -f2-
    else
        grep "^button: $id|" "$log" | tail -n 1 | cut -d'|' -f2
    fi
}

# click_view LOG X Y [BUTTON]: a click at view coordinates X, Y.
click_view() {
    local log=$1 x=$2 y=$3 button=${4:-1} vx vy rest
    read -r vx vy rest <<<"$(tail_geometry "$log" view)"
    xdotool mousemove $((vx + x)) $((vy + y))
    sleep 0.15
    xdotool click "$button"
    # Far enough apart in time that no two clicks make a double click.
    sleep 0.6
}

# draw_closed LOG X Y [X Y ...]: the Draw tool's clicks at the points, closed by a right click.
draw_closed() {
    local log=$1
    shift
    while (($# >= 2)); do
        click_view "$log" "$1" "$2"
        shift 2
    done
    click_view "$log" 300 300 3
}

# drag_view LOG X0 Y0 X1 Y1 [MODIFIER]: a drag between view coordinates.
drag_view() {
    local log=$1 vx vy rest
    read -r vx vy rest <<<"$(tail_geometry "$log" view)"
    drag $((vx + $2)) $((vy + $3)) $((vx + $4)) $((vy + $5)) "${6:-}"
}

# Focuses a copy's window and types keys into it.
keys_to() {
    local win=$1
    shift
    xdotool windowfocus --sync "$win"
    sleep 0.2
    xdotool key --delay 120 "$@"
    sleep 0.4
}

source "$(dirname "${BASH_SOURCE[0]}")/../support/le32.sh"

# save_as WIN PATH: Ctrl+S on an untitled document, answered in the Save As dialog.
save_as() {
    local win=$1 path=$2
    keys_to "$win" ctrl+s
    local dialog
    dialog=$(wait_for_window '^Save As$')
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
    xdotool type --delay 20 "$path"
    xdotool key Return
    for ((i = 0; i < 100; i++)); do
        [[ -f "$path" ]] && break
        sleep 0.1
    done
    [[ -f "$path" ]] || fail "nothing was saved at $path"
    sleep 0.3
}

# Ends a copy with File > Exit, answering No when it asks to save changes, and checks that it
# ends with status 0.
exit_copy() {
    local win=$1 pid=$2 status=0 box=""
    keys_to "$win" alt+f
    xdotool key x
    for ((i = 0; i < 30; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        box=$(xdotool search --onlyvisible --name '^Swoop2$' 2>/dev/null | head -n 1 || true)
        if [[ -n "$box" ]]; then
            xdotool windowfocus --sync "$box"
            sleep 0.2
            xdotool key alt+n
            break
        fi
        sleep 0.1
    done
    wait "$pid" || status=$?
    [[ $status -eq 0 ]] || fail "the program ended with status $status"
}

# Whether a screenshot has black pixels inside a rectangle: black_pixels PNG X Y W H
black_pixels() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -fill white +opaque black -negate \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# save_again WIN PATH: Ctrl+S on a named document; waits until the file is written anew.
save_again() {
    local win=$1 path=$2
    rm -f "$path"
    keys_to "$win" ctrl+s
    for ((i = 0; i < 100; i++)); do
        [[ -s "$path" ]] && break
        sleep 0.1
    done
    sleep 0.2
    [[ -s "$path" ]] || fail "Ctrl+S saved nothing at $path"
}

# The 32-bit integers of a file, one per line.
ints_of() {
    od -An -t d4 -v "$1" | tr -s ' ' '\n' | grep -v '^$'
}

# screen_of LOG X Y: the screen position of view coordinates X, Y.
screen_of() {
    local vx vy rest
    read -r vx vy rest <<<"$(tail_geometry "$1" view)"
    echo $((vx + $2)) $((vy + $3))
}

# check_shifted FILE X0 Y0 X1 Y1 X2 Y2: the file holds one curve of these three points, all
# moved by one offset; prints the offset.
check_shifted() {
    local file=$1
    shift
    local -a v
    mapfile -t v < <(ints_of "$file")
    [[ ${#v[@]} -eq 8 && ${v[0]} -eq 1 && ${v[1]} -eq 3 ]] ||
        fail "$file does not hold one curve of three points: ${v[*]}"
    local dx=$((v[2] - $1)) dy=$((v[3] - $2))
    [[ $((v[4] - $3)) -eq $dx && $((v[5] - $4)) -eq $dy && $((v[6] - $5)) -eq $dx &&
        $((v[7] - $6)) -eq $dy ]] || fail "the curve in $file changed its shape: ${v[*]}"
    echo "$dx $dy"
}
