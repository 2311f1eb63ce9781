#!/usr/bin/env bash
# Copy and Paste between running copies of Swoop2 and other programs: what Copy offers (the
# curve record first, then pictures), a curve pasted into a second copy, a record offered by
# xclip pasted as a closed curve, and hostile records that paste nothing and crash nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_helpers.sh"

start_copy a 20 40
click_view "$a_log" 50 40
click_view "$a_log" 250 60
click_view "$a_log" 150 200
click_view "$a_log" 100 100 3
keys_to "$a_win" ctrl+c
sleep 0.5

targets=$(timeout 20 xclip -selection clipboard -t TARGETS -o)
echo "$targets" >"$ARTEFACTS/targets.txt"
own=$(grep -nx 'Tav.Swoop' <<<"$targets" | cut -d: -f1 || true)
[[ -n "$own" ]] || fail "Tav.Swoop is not offered: $targets"
first_image=$(grep -n '^image/' <<<"$targets" | head -n 1 | cut -d: -f1 || true)
[[ -n "$first_image" ]] || fail "no picture is offered: $targets"
[[ $own -lt $first_image ]] || fail "the pictures come before the record: $targets"

timeout 20 xclip -selection clipboard -t Tav.Swoop -o >"$E2E_TMP/record"
le32 28 50 40 250 60 150 200 >"$E2E_TMP/expected-record"
cmp "$E2E_TMP/expected-record" "$E2E_TMP/record" || fail "the clipboard's record differs"

# The picture is the curve's bounding box, 200 by 160, and 10 pixels more each way.
timeout 20 xclip -selection clipboard -t image/png -o >"$ARTEFACTS/copied.png"
size=$(identify -format '%wx%h' "$ARTEFACTS/copied.png")
[[ "$size" == 210x170 ]] || fail "the picture is $size, not 210x170"
[[ $(black_pixels "$ARTEFACTS/copied.png" 0 0 210 170) -gt 100 ]] || fail "the picture is blank"

# Pasted into a second copy, the curve lands where it was.
start_copy b 700 40
keys_to "$b_win" ctrl+v
file=$E2E_TMP/pasted
save_as "$b_win" "$file"
le32 1 3 50 40 250 60 150 200 >"$E2E_TMP/expected"
cmp "$E2E_TMP/expected" "$file" || fail "the curve pasted into the second copy differs: $(od -An -tx1 "$file")"

# Saves the second copy's drawing again and waits for the file.
save_b() {
    rm -f "$file"
    keys_to "$b_win" ctrl+s
    for ((i = 0; i < 100; i++)); do
        [[ -s "$file" ]] && break
        sleep 0.1
    done
    sleep 0.2
    [[ -s "$file" ]] || fail "Ctrl+S saved nothing"
}

# Offers bytes on the clipboard from xclip, which serves them until something else takes it.
offer() {
    timeout 120 xclip -selection clipboard -t Tav.Swoop -i "$1" &
    E2E_PIDS+=($!)
    sleep 0.7
}

# A record from another program pastes as a closed curve: the next Draw click starts a new one.
le32 28 10 10 100 20 50 90 >"$E2E_TMP/offered"
offer "$E2E_TMP/offered"
keys_to "$b_win" ctrl+v
click_view "$b_log" 300 300
click_view "$b_log" 300 300 3
save_b
le32 3 3 50 40 250 60 150 200 3 10 10 100 20 50 90 1 300 300 >"$E2E_TMP/expected"
cmp "$E2E_TMP/expected" "$file" || fail "the record from xclip did not paste as a closed curve"
screenshot pasted

# Hostile records: a size field of 0, of 3, larger than the data, and 2^32-1.
n=0
for size in 0 3 1000 4294967295; do
    n=$((n + 1))
    le32 "$size" 1 2 3 4 >"$E2E_TMP/hostile$n"
    offer "$E2E_TMP/hostile$n"
    keys_to "$b_win" ctrl+v
    kill -0 "$(pgrep -P "$b_pid")" 2>/dev/null || fail "a record of size $size ended the program"
    save_b
    cmp "$E2E_TMP/expected" "$file" || fail "a record of size $size pasted something"
done
screenshot after-hostile

exit_copy "$b_win" "$b_pid"
exit_copy "$a_win" "$a_pid"
echo PASS
