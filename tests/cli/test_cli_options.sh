#!/usr/bin/env bash
# Help, the version and a wrong command line answer without a display, whatever platform the
# environment names; the window, which needs one, says so in one line and fails.
source "$(dirname "$0")/cli_lib.sh"

for platform in xcb wayland ""; do
    export QT_QPA_PLATFORM=$platform

    run --help
    [[ $status -eq 0 ]] || fail "--help ($platform) ended with $status: $(cat "$err")"
    grep -q '^Usage: swoop2 \[FILE\]$' "$out" || fail "--help shows no usage: $(cat "$out")"
    for option in --export-filename --export-type --export-area --version; do
        grep -q -- "$option" "$out" || fail "--help does not mention $option"
    done
    [[ -s "$err" ]] && fail "--help wrote to standard error: $(cat "$err")"

    run -h
    [[ $status -eq 0 ]] && grep -q '^Usage:' "$out" || fail "-h did not show the help"

    run --version
    [[ $status -eq 0 ]] || fail "--version ($platform) ended with $status: $(cat "$err")"
    [[ "$(cat "$out")" == "Swoop2 1.0.0.1" ]] || fail "--version said: $(cat "$out")"
    [[ -s "$err" ]] && fail "--version wrote to standard error: $(cat "$err")"

    # A runtime folder as sessions have, where Wayland finds no compositor; without it the
    # Wayland library itself complains on standard error.
    mkdir -p -m 700 "$CLI_TMP/runtime"
    for display in "" :99999; do
        for file in "" drawing.swoop; do
            DISPLAY=$display XDG_RUNTIME_DIR=$CLI_TMP/runtime run $file
            what="'$file' ($platform, DISPLAY=$display)"
            [[ $status -eq 1 ]] || fail "$what ended with $status: $(cat "$err")"
            [[ $(wc -l <"$err") -eq 1 ]] || fail "$what said more than one line: $(cat "$err")"
            grep -q "^swoop2: .*DISPLAY.*-o exports a drawing without a display" "$err" ||
                fail "$what said: $(cat "$err")"
            [[ -z "$display" ]] || grep -q "DISPLAY=$display" "$err" ||
                fail "$what did not name the display: $(cat "$err")"
        done
    done
done

# A start that fails for a reason other than the display gives Qt's reason, on one line.
for display in "" :99999; do
    DISPLAY=$display QT_QPA_PLATFORM=nosuchplatform XDG_RUNTIME_DIR=$CLI_TMP/runtime run
    [[ $status -eq 1 ]] || fail "an unknown platform ended with $status: $(cat "$err")"
    [[ $(wc -l <"$err") -eq 1 ]] || fail "an unknown platform said more than one line: $(cat "$err")"
    grep -q '^swoop2: .*nosuchplatform' "$err" || fail "an unknown platform said: $(cat "$err")"
    grep -qE '(no display|the display) \(' "$err" && fail "an unknown platform was blamed on the display: $(cat "$err")"
done

# Wrong command lines: a short usage on standard error, nothing on standard output, status 1.
while IFS= read -r line; do
    read -r -a args <<<"$line"
    run "${args[@]}"
    [[ $status -eq 1 ]] || fail "'$line' ended with $status"
    [[ -s "$out" ]] && fail "'$line' wrote to standard output: $(cat "$out")"
    head -n 1 "$err" | grep -q '^swoop2: ' || fail "'$line' gave no reason: $(cat "$err")"
    grep -q '^Usage: swoop2' "$err" || fail "'$line' showed no usage: $(cat "$err")"
    (($(wc -l <"$err") <= 5)) || fail "'$line' wrote more than a short usage: $(cat "$err")"
done <<'ROWS'
--frobnicate
-x drawing
-o
-o out.png
-o out.txt drawing
-o out.png --export-type gif drawing
-o out.png --export-area 1:2:3 drawing
--export-type svg drawing
-o out.png one two
ROWS
run --frobnicate
grep -q "unknown option '--frobnicate'" "$err" || fail "the unknown option is not named: $(cat "$err")"
[[ -z "$(ls -A)" || ! -e out.png ]] || fail "a wrong command line wrote a file"
echo PASS
