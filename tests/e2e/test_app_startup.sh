#!/usr/bin/env bash
# Starting and ending Swoop2: the About box and Esc, five files opened and four kept in the
# recent-file list (in the menu and, after Exit, in the settings), a file that cannot be opened
# ending start-up with status 1, and the installed program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

start_copy a 40 40
wait_for_line "$a_log" '^status: Ready$'

# Help > About, then Esc: the box goes and the main window is as it was.
keys_to "$a_win" alt+h a
about=$(wait_for_window '^About Swoop2$')
screenshot about
xdotool windowfocus --sync "$about"
xdotool key Escape
for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name '^About Swoop2$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^About Swoop2$' >/dev/null 2>&1 && fail "Esc left the About box"
[[ "$(xdotool getwindowname "$a_win")" == "Untitled - Swoop2" ]] || fail "the caption changed"

# The recent-file list starts grayed and empty.
keys_to "$a_win" alt+f
xdotool key Escape
wait_for_line "$a_log" '^menu: &File|.*|Recent File|'

# Five files opened through File > Open: the four latest are listed, most recent first.
for n in 1 2 3 4 5; do
    le32 0 >"$E2E_TMP/doc$n"
    keys_to "$a_win" ctrl+o
    dialog=$(wait_for_window '^Open$')
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
    xdotool type --delay 20 "$E2E_TMP/doc$n"
    xdotool key Return
    for ((i = 0; i < 50; i++)); do
        [[ "$(xdotool getwindowname "$a_win")" == "doc$n - Swoop2" ]] && break
        sleep 0.1
    done
    [[ "$(xdotool getwindowname "$a_win")" == "doc$n - Swoop2" ]] || fail "doc$n did not open"
done
keys_to "$a_win" alt+f
sleep 0.3
screenshot recent-files
xdotool key Escape
wait_for_line "$a_log" '^menu: &File|.*|&1 .*doc5|&2 .*doc4|&3 .*doc3|&4 .*doc2|-|E&xit$'
grep '^menu: &File' "$a_log" | tail -n 1 | grep -q doc1 && fail "doc1 is still listed"
exit_copy "$a_win" "$a_pid"
settings="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/Swoop2.conf"
[[ -f "$settings" ]] || fail "no settings at $settings"
cp "$settings" "$ARTEFACTS/Swoop2.conf"
for n in 2 3 4 5; do
    grep -q "=$E2E_TMP/doc$n\$" "$settings" || fail "doc$n is not in the settings"
done
grep -q "doc1\$" "$settings" && fail "doc1 is still in the settings"

# A file that cannot be opened: the framework's message, then start-up ends with status 1.
spawn timeout 60 "$SWOOP2" "$E2E_TMP/no such file"
bad_pid=$!
box=$(wait_for_window '^Swoop2$')
screenshot open-failure
xdotool windowfocus --sync "$box"
xdotool key Return
status=0
wait "$bad_pid" || status=$?
[[ $status -eq 1 ]] || fail "a failed start-up ended with status $status"

# The installed program is named swoop2 and starts from the PATH.
prefix=$E2E_TMP/prefix
cmake --install "${SWOOP2_BUILD_DIR:?}" --prefix "$prefix" >/dev/null || fail "install failed"
[[ -x "$prefix/bin/swoop2" ]] || fail "no swoop2 installed in $prefix/bin"
SWOOP2=swoop2 PATH=$prefix/bin:$PATH start_copy c 60 60
exit_copy "$c_win" "$c_pid"
echo PASS
