#!/usr/bin/env bash
# On a screen with a fractional number of pixels per logical unit, the window repaints only the
# parts that an edit changed, and the platform shows again only what it is asked to, rounding
# logical units to pixels its own way. After selecting, deselecting and dragging a point, what
# the screen shows must be what it shows once the window has repainted everything.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

# The screen pixel of a logical coordinate: pixel LOGICAL
pixel() {
    awk -v v="$1" -v r="$QT_SCALE_FACTOR" 'BEGIN { printf "%d", v * r + 0.5 }'
}

# click_at LOG X Y [BUTTON]: a click at view coordinates, in logical units.
click_at() {
    local vx vy rest
    read -r vx vy rest <<<"$(tail_geometry "$1" view)"
    xdotool mousemove "$(pixel $((vx + $2)))" "$(pixel $((vy + $3)))"
    sleep 0.15
    xdotool click "${4:-1}"
    sleep 0.8
}

# drag_point LOG X0 Y0 X1 Y1: a press on a control point, a few moves and the release.
drag_point() {
    local vx vy rest k
    read -r vx vy rest <<<"$(tail_geometry "$1" view)"
    xdotool mousemove "$(pixel $((vx + $2)))" "$(pixel $((vy + $3)))"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    for k in 1 2 3 4 5 6; do
        xdotool mousemove "$(pixel $((vx + $2 + ($4 - $2) * k / 6)))" \
            "$(pixel $((vy + $3 + ($5 - $3) * k / 6)))"
        sleep 0.1
    done
    xdotool mouseup 1
    sleep 0.8
}

# The view's pixels on the screen, saved as NAME.png among the artefacts: view_shot LOG NAME
view_shot() {
    local vx vy vw vh x0 y0
    read -r vx vy vw vh <<<"$(tail_geometry "$1" view)"
    x0=$(pixel "$vx")
    y0=$(pixel "$vy")
    import -window root -crop "$(($(pixel $((vx + vw))) - x0))x$(($(pixel $((vy + vh))) - y0))+$x0+$y0" \
        +repage "$ARTEFACTS/$2.png"
}

# Resizing the window makes it repaint everything; so does resizing it back.
repaint_whole() {
    local win=$1 w h
    read -r w h <<<"$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' |
        tr '\n' ' ')"
    xdotool windowsize "$win" $((w + 37)) $((h + 23))
    sleep 0.8
    xdotool windowsize "$win" "$w" "$h"
    sleep 0.8
}

# check_screen LOG WIN NAME: the view on the screen now is the view after a whole repaint.
check_screen() {
    local log=$1 win=$2 name=$3 differing
    view_shot "$log" "$name"
    repaint_whole "$win"
    view_shot "$log" "$name-whole"
    differing=$(compare -metric AE "$ARTEFACTS/$name.png" "$ARTEFACTS/$name-whole.png" \
        "$ARTEFACTS/$name-diff.png" 2>&1 >/dev/null || true)
    [[ "$differing" == 0 ]] ||
        fail "at ratio $QT_SCALE_FACTOR, after $name the screen differs from a whole repaint in $differing pixels (see $ARTEFACTS/$name-diff.png)"
}

for ratio in 1.25 1.5; do
    export QT_SCALE_FACTOR=$ratio
    name=at${ratio/./_}
    start_copy "$name" 30 30
    log_var=${name}_log
    win_var=${name}_win
    pid_var=${name}_pid
    log=${!log_var}
    win=${!win_var}
    # A closed curve, selected with its handles once the right click closes it; then the Select
    # tool.
    for pt in "61 58" "163 48" "207 141" "93 154"; do
        click_at "$log" $pt
    done
    click_at "$log" 300 300 3
    keys_to "$win" alt+c s
    check_screen "$log" "$win" "$name-drawn"
    click_at "$log" 330 220
    check_screen "$log" "$win" "$name-deselected"
    click_at "$log" 130 100
    check_screen "$log" "$win" "$name-selected"
    drag_point "$log" 163 48 181 67
    check_screen "$log" "$win" "$name-point-dragged"
    click_at "$log" 330 220
    check_screen "$log" "$win" "$name-deselected-after-drag"
    exit_copy "$win" "${!pid_var}"
done
echo PASS
