#!/usr/bin/env bash
# Writing a drawing to PNG, SVG and PDF with no display: the files' contents, and the failures
# that leave no file behind.
source "$(dirname "$0")/cli_lib.sh"
export QT_QPA_PLATFORM=xcb
cd "$CLI_TMP"

# Three curves: the square of four points (its Bezier points reach x = 69 and y = -9), a line of
# two points, and an open curve of five points.
{
    le32 3
    le32 4 0 0 60 0 60 60 0 60
    le32 2 100 10 140 50
    le32 5 20 100 80 140 140 100 200 140 260 100
} >drawing
# The extent: Bezier points from (0, -9) to (260, 140), and 10 pixels all round.
x0=-10 y0=-19 width=281 height=170

# The color of an image's pixel: pixel FILE X Y
pixel() {
    convert "$1" -format "%[pixel:p{$2,$3}]" info:
}
# The darkest gray level (0 to 65535) in the 3 by 3 pixels around a point: darkest FILE X Y
darkest() {
    convert "$1" -crop "3x3+$(($2 - 1))+$(($3 - 1))" +repage -colorspace gray -format '%[min]' info:
}

# PNG: the extent, white around, black on the curves' end points.
run -o drawing.png drawing
[[ $status -eq 0 ]] || fail "PNG export ended with $status: $(cat "$err")"
[[ -s "$err" ]] && fail "PNG export wrote to standard error: $(cat "$err")"
cp drawing.png "$ARTEFACTS/"
[[ "$(identify -format '%m %w %h' drawing.png)" == "PNG $width $height" ]] ||
    fail "PNG is $(identify -format '%m %w %h' drawing.png)"
for point in "0 0" "60 0" "60 60" "100 10" "20 100" "140 100"; do
    read -r x y <<<"$point"
    [[ "$(pixel drawing.png $((x - x0)) $((y - y0)))" == "srgb(0,0,0)" ]] ||
        fail "PNG is not black at ($x, $y)"
done
for corner in "0 0" "$((width - 1)) $((height - 1))" "$((width - 1)) 0" "0 $((height - 1))"; do
    [[ "$(pixel drawing.png $corner)" == "srgb(255,255,255)" ]] || fail "PNG corner $corner not white"
done

# The area option, with a type the extension does not give.
run --export-type png --export-area 50:-5:150:45 -o part drawing
[[ $status -eq 0 ]] || fail "PNG of an area ended with $status: $(cat "$err")"
[[ "$(identify -format '%w %h' part)" == "100 50" ]] || fail "the area's PNG is $(identify -format '%w %h' part)"
[[ "$(pixel part 10 5)" == "srgb(0,0,0)" ]] || fail "the area's PNG is not black at (60, 0)"
[[ "$(pixel part 50 15)" == "srgb(0,0,0)" ]] || fail "the area's PNG is not black at (100, 10)"

# SVG: one path per curve in stacking order, carrying exactly the Bezier points.
run -o drawing.svg drawing
[[ $status -eq 0 ]] || fail "SVG export ended with $status: $(cat "$err")"
cp drawing.svg "$ARTEFACTS/"
grep -q "width=\"$width\" height=\"$height\" viewBox=\"$x0 $y0 $width $height\"" drawing.svg ||
    fail "the SVG's size: $(grep '<svg' drawing.svg)"
mapfile -t paths < <(grep -o ' d="[^"]*"' drawing.svg)
expected=(
    ' d="M 0 0 C 9 0 49 -9 60 0 C 69 9 69 49 60 60 C 50 69 10 60 0 60"'
    ' d="M 100 10 L 140 50"'
    ' d="M 20 100 C 29 106 59 139 80 140 C 99 140 119 100 140 100 C 160 100 179 139 200 140 C 219 140 249 106 260 100"'
)
[[ ${#paths[@]} -eq 3 ]] || fail "the SVG has ${#paths[@]} paths"
for i in 0 1 2; do
    [[ "${paths[i]}" == "${expected[i]}" ]] || fail "path $i is${paths[i]}, expected${expected[i]}"
done
[[ $(grep -c 'fill="none" stroke="#000000" stroke-width="1"' drawing.svg) -eq 3 ]] ||
    fail "the paths are not black one-pixel strokes without fill"

# PDF: one page of the extent; rendered at 72 dots an inch the curves are where the PNG has them.
run --export-filename=drawing.pdf drawing
[[ $status -eq 0 ]] || fail "PDF export ended with $status: $(cat "$err")"
cp drawing.pdf "$ARTEFACTS/"
[[ "$(pdfinfo drawing.pdf | grep '^Pages:' | tr -s ' ')" == "Pages: 1" ]] || fail "the PDF has not one page"
pdftoppm -r 72 -png -singlefile drawing.pdf page
cp page.png "$ARTEFACTS/drawing-pdf.png"
[[ "$(identify -format '%w %h' page.png)" == "$width $height" ]] ||
    fail "the PDF's page is $(identify -format '%w %h' page.png) at 72 dots an inch"
for point in "0 0" "60 0" "60 60" "100 10" "20 100" "140 100" "260 100" "120 30"; do
    read -r x y <<<"$point"
    (($(darkest page.png $((x - x0)) $((y - y0))) < 32768)) || fail "the PDF shows no curve at ($x, $y)"
done
(($(darkest page.png 40 100) == 65535)) || fail "the PDF is not white where no curve is"

# SVG and PDF name the drawing's file as their title and this program as their creator, as
# viewers read them; a name's markup characters, parentheses and non-ASCII letters stay text.
run --version
creator=$(cat "$out")
named="Curves (ü) & <draft>"
cp drawing "$named"
run -o named.svg "$named"
[[ $status -eq 0 ]] || fail "SVG export of \"$named\" ended with $status: $(cat "$err")"
svg_text() {
    xmllint --xpath "string(/*[local-name()='svg']/$1)" named.svg
}
[[ "$(svg_text "*[local-name()='title']")" == "$named" ]] ||
    fail "the SVG's title: $(grep '<title' named.svg)"
[[ "$(svg_text "*[local-name()='metadata']//*[local-name()='CreatorTool']")" == "$creator" ]] ||
    fail "the SVG's creator: $(grep CreatorTool named.svg)"
run -o named.pdf "$named"
[[ $status -eq 0 ]] || fail "PDF export of \"$named\" ended with $status: $(cat "$err")"
pdfinfo named.pdf >info.txt
grep -q -x "Title: *$named" info.txt || fail "the PDF's title: $(grep Title info.txt)"
grep -q -x "Creator: *$creator" info.txt || fail "the PDF's creator: $(grep Creator info.txt)"

# Failures: a one-line message naming the file and the cause, status 1, and no file written.
run -o missing.png "no such drawing"
[[ $status -eq 1 ]] || fail "a missing drawing ended with $status"
[[ "$(cat "$err")" == 'swoop2: Could not open "no such drawing". The file does not exist.' ]] ||
    fail "missing drawing: $(cat "$err")"

head -c 30 drawing >truncated
run -o truncated.svg truncated
[[ $status -eq 1 ]] || fail "a truncated drawing ended with $status"
[[ $(wc -l <"$err") -eq 1 ]] && grep -q '"truncated".*ended' "$err" || fail "truncated: $(cat "$err")"

run -o "no folder/out.pdf" drawing
[[ $status -eq 1 ]] || fail "a missing folder ended with $status"
[[ "$(cat "$err")" == 'swoop2: Could not write "no folder/out.pdf". The folder does not exist.' ]] ||
    fail "missing folder: $(cat "$err")"

mkdir folder
run --export-type svg -o folder drawing
[[ $status -eq 1 ]] && grep -q '"folder". It is a folder.' "$err" || fail "a folder as output: $(cat "$err")"
[[ -z "$(ls -A folder)" ]] || fail "something was left in the folder"

# A disk that fills: writes past 1 KiB fail, under the limit's default signal, which would end
# the program. The previous file stays as it was, and no temporary file is left beside it.
cp drawing.pdf previous.pdf
status=0
(
    trap - XFSZ
    ulimit -f 1
    exec timeout 60 "$SWOOP2" -o previous.pdf drawing
) >"$out" 2>"$err" || status=$?
[[ $status -eq 1 ]] || fail "a full disk ended with $status"
grep -q '"previous.pdf".*no room' "$err" || fail "full disk: $(cat "$err")"
cmp -s drawing.pdf previous.pdf || fail "the previous file was changed"

for name in missing.png truncated.svg; do
    [[ -e "$name" ]] && fail "$name was written"
done
leftovers=$(ls -A | grep -v -x -e drawing -e drawing.png -e drawing.svg -e drawing.pdf -e part \
    -e page.png -e truncated -e folder -e previous.pdf -e artefacts -e config -e home -e stdout \
    -e stderr -e "$named" -e named.svg -e named.pdf -e info.txt || true)
[[ -z "$leftovers" ]] || fail "files left behind: $leftovers"
echo PASS
