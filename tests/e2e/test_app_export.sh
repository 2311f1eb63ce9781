#!/usr/bin/env bash
# File > Export and the SVG on the clipboard: an SVG and a PNG written from the window of an
# opened drawing hold exactly the bytes that `swoop2 -o` writes for it, closed curves are
# exported closed, the selection's handles left
# out; an export that fails (the file may not grow past 1 KiB) keeps the file it would have
# replaced and says so in a message box; Copy offers the selected curve as SVG, placed as the
# picture is.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

start_copy a 20 40
# A curve large enough that its picture passes 1 KiB, then a small one, which stays selected.
draw_closed "$a_log" 30 30 380 50 350 280 200 200 40 290
draw_closed "$a_log" 50 40 250 60 150 200
drawing=$E2E_TMP/drawing
save_as "$a_win" "$drawing"
mkdir -p "$E2E_TMP/out"

# export_to WIN PATH: File > Export, answered in its dialog with the path typed over the
# proposed name; a file of that name is replaced when the dialog asks.
export_to() {
    local win=$1 path=$2 dialog
    keys_to "$win" ctrl+shift+e
    dialog=$(wait_for_window '^Export$')
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
    xdotool key ctrl+a
    xdotool type --delay 20 "$path"
    xdotool key Return
    [[ -e "$path" ]] || return 0
    # The dialog's question, in a box of the same caption, which takes the focus.
    for ((i = 0; i < 100; i++)); do
        (($(xdotool search --onlyvisible --name '^Export$' 2>/dev/null | wc -l) >= 2)) && break
        sleep 0.1
    done
    sleep 0.3
    xdotool key alt+y
}

# wait_for_file PATH: waits until the file exists and has stopped growing.
wait_for_file() {
    for ((i = 0; i < 100; i++)); do
        [[ -s "$1" ]] && break
        sleep 0.1
    done
    [[ -s "$1" ]] || fail "nothing was written at $1"
    sleep 0.3
}

# The saved drawing opened in a second copy: its curves read back open, as `swoop2 -o` reads
# them, while the first copy still shows them closed.
start_copy c 700 40 "$drawing"
for type in svg png; do
    export_to "$c_win" "$E2E_TMP/out/picture.$type"
    wait_for_file "$E2E_TMP/out/picture.$type"
    cp "$E2E_TMP/out/picture.$type" "$ARTEFACTS/"
    "$SWOOP2" -o "$E2E_TMP/reference.$type" "$drawing" || fail "swoop2 -o $type failed"
    cmp "$E2E_TMP/reference.$type" "$E2E_TMP/out/picture.$type" ||
        fail "the exported $type differs from what swoop2 -o writes"
done
xmllint --noout "$E2E_TMP/out/picture.svg" || fail "the exported SVG is not well-formed"
exit_copy "$c_win" "$c_pid"
# The window's own drawing is exported as it shows it: its closed curves stay closed.
export_to "$a_win" "$E2E_TMP/out/shown.svg"
wait_for_file "$E2E_TMP/out/shown.svg"
(($(grep -o ' Z"' "$E2E_TMP/out/shown.svg" | wc -l) == 2)) ||
    fail "the exported closed curves are not closed: $(cat "$E2E_TMP/out/shown.svg")"
# The drawing is still the one saved, under its own name.
xprop -id "$a_win" _NET_WM_NAME | grep -q '"drawing - Swoop2"' ||
    fail "the caption changed: $(xprop -id "$a_win" _NET_WM_NAME)"

# The clipboard's SVG: the selected curve with its points' top-left corner at the origin.
keys_to "$a_win" ctrl+c
sleep 0.5
targets=$(timeout 20 xclip -selection clipboard -t TARGETS -o)
grep -qx 'image/svg+xml' <<<"$targets" || fail "no SVG is offered: $targets"
timeout 20 xclip -selection clipboard -t image/svg+xml -o >"$ARTEFACTS/copied.svg"
xmllint --noout "$ARTEFACTS/copied.svg" || fail "the copied SVG is not well-formed"
grep -q 'viewBox="0 0 210 170"' "$ARTEFACTS/copied.svg" ||
    fail "the copied SVG is not placed as the picture: $(cat "$ARTEFACTS/copied.svg")"
grep -q 'd="M 0 0 L 200 20 L 100 160 Z"' "$ARTEFACTS/copied.svg" ||
    fail "the copied SVG's path is not the curve's: $(cat "$ARTEFACTS/copied.svg")"

# A copy of the program whose files may not grow past 1 KiB, as on a full disk.
limited=$E2E_TMP/limited
cat >"$limited" <<EOF
#!/usr/bin/env bash
trap '' XFSZ
ulimit -f 1
exec "$SWOOP2" "\$@"
EOF
chmod +x "$limited"
(($(stat -c %s "$E2E_TMP/reference.png") > 1024)) || fail "the picture is too small to fail"
printf 'old picture' >"$E2E_TMP/out/old.png"
SWOOP2=$limited start_copy b 700 40 "$drawing"
export_to "$b_win" "$E2E_TMP/out/old.png"
box=$(wait_for_window '^Swoop2$')
screenshot export-failed
[[ "$(cat "$E2E_TMP/out/old.png")" == "old picture" ]] || fail "the failed export replaced the file"
[[ -z "$(find "$E2E_TMP/out" -name '*old.png?*')" ]] || fail "a temporary file was left behind"
xdotool windowfocus --sync "$box"
sleep 0.3
xdotool key Return
exit_copy "$b_win" "$b_pid"
exit_copy "$a_win" "$a_pid"
