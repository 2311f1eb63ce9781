#!/usr/bin/env bash
# The installed tree: the program, its desktop entry, its icon at every theme size and its
# manual page, in a temporary prefix.
source "$(dirname "$0")/cli_lib.sh"

prefix=$CLI_TMP/prefix
cmake --install "${SWOOP2_BUILD_DIR:?}" --prefix "$prefix" >"$CLI_TMP/install.log" 2>&1 ||
    fail "install failed: $(cat "$CLI_TMP/install.log")"

[[ -x "$prefix/bin/swoop2" ]] || fail "no program in bin/"
[[ "$(timeout 30 "$prefix/bin/swoop2" --version)" == "Swoop2 1.0.0.1" ]] ||
    fail "the installed program does not run without a display"

entry=$prefix/share/applications/swoop2.desktop
[[ -f "$entry" ]] || fail "no desktop entry"
desktop-file-validate "$entry" >"$CLI_TMP/validate.log" 2>&1 ||
    fail "the desktop entry is not valid: $(cat "$CLI_TMP/validate.log")"
grep -E -q '(error|warning|hint):' "$CLI_TMP/validate.log" &&
    fail "the desktop entry has warnings or hints: $(cat "$CLI_TMP/validate.log")"
grep -q -x 'Exec=swoop2 %f' "$entry" || fail "the entry does not start swoop2 with a file"
grep -q -x 'Categories=Graphics;2DGraphics;VectorGraphics;' "$entry" || fail "the entry's categories"
grep -q -x 'Icon=swoop2' "$entry" || fail "the entry names no icon swoop2"

icons=$prefix/share/icons/hicolor
for size in 16 32 48; do
    icon=$icons/${size}x$size/apps/swoop2.png
    [[ -f "$icon" ]] || fail "no $size pixel icon"
    [[ "$(identify -format '%m %w %h' "$icon")" == "PNG $size $size" ]] ||
        fail "the $size pixel icon is $(identify -format '%m %w %h' "$icon")"
done
grep -q '<svg' "$icons/scalable/apps/swoop2.svg" || fail "no scalable icon"

page=$prefix/share/man/man1/swoop2.1
[[ -f "$page" ]] || fail "no manual page"
warnings=$(groff -man -ww -z "$page" 2>&1)
[[ -z "$warnings" ]] || fail "the manual page has warnings: $warnings"
text=$(groff -man -Tascii -P-cbou "$page" 2>/dev/null)
for topic in --help --version --export-filename --export-type --export-area "FILE FORMAT" \
    "little-endian" "EXIT STATUS" "Tav.Swoop.Curves"; do
    grep -q -- "$topic" <<<"$text" || fail "the manual page does not tell of $topic"
done
echo PASS
