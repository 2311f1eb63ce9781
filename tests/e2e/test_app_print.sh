#!/usr/bin/env bash
# Printing: with no printer installed, File > Print (Ctrl+P) accepted as offered prints to a
# PDF file, and the page shows the drawing's curves.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

start_copy a 20 40
draw_closed "$a_log" 60 60 200 80 120 200
draw_closed "$a_log" 300 100 400 150 350 250 280 220
screenshot drawing

keys_to "$a_win" ctrl+p
dialog=$(wait_for_window '^Print')
screenshot print-dialog
xdotool windowfocus --sync "$dialog"
sleep 0.3
xdotool key Return
pdf=$HOME/print.pdf
for ((i = 0; i < 100; i++)); do
    [[ -s "$pdf" ]] && ! xdotool search --onlyvisible --name '^Print' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 0.5
[[ -s "$pdf" ]] || fail "nothing was printed to $pdf"
cp "$pdf" "$ARTEFACTS/print.pdf"

# One page. At 1200 dots to the inch the drawing (60..400 by 60..300, curves bulging a little
# beyond their points) is 600 dpi pixels half its size, placed inside the page's margins.
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[[ "$pages" == 1 ]] || fail "the print has $pages pages"
pdftoppm -r 600 -f 1 -l 1 -png "$pdf" "$E2E_TMP/page"
page=$(ls "$E2E_TMP"/page*.png | head -n 1)
read -r w h x y <<<"$(convert "$page" -trim -format '%w %h %X %Y' info:)"
echo "ink: ${w}x${h} at ${x}, ${y}" >"$ARTEFACTS/ink.txt"
convert "$page" -crop 600x600+0+0 +repage "$ARTEFACTS/page-corner.png"
x=${x#+}
y=${y#+}
near() {
    [[ $1 -ge $2 && $1 -le $3 ]]
}
near "$w" 160 220 && near "$h" 80 140 || fail "the printed drawing is ${w}x${h}, not its size"
near "$x" 0 400 && near "$y" 0 400 || fail "the printed drawing is at $x, $y"
# Both curves are there: ink at the first curve's left end and at the second's right end.
dark() {
    convert "$page" -crop "$3x$4+$1+$2" +repage -colorspace gray -threshold 50% -negate \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}
[[ $(dark "$x" "$y" 20 $((h / 2))) -gt 5 ]] || fail "the first curve is not on the page"
[[ $(dark $((x + w - 20)) "$y" 20 "$h") -gt 5 ]] || fail "the second curve is not on the page"
exit_copy "$a_win" "$a_pid"
echo PASS
