#!/usr/bin/env bash
# The clipboard between processes: what the data-transfer service offers is served to other
# programs byte for byte and as a picture, and what they offer comes back exactly.
source "$(dirname "$0")/lib.sh"

helper=${SWOOP2_BUILD_DIR:?}/tests/e2e/ole_helper/ole_helper
[[ -x "$helper" ]] || fail "no helper at $helper"

# A record with every awkward byte: NUL, 0xFF, CR and LF.
record=$E2E_TMP/record.bin
printf '\x1c\x00\x00\x00\x0a\x00\x0d\x00\xff\xff\xff\xff\x0a\x0d\x00\x00\x28\x00\x00\x00\x32\x00\x00\x00\x3c\x00\x00\xff' >"$record"

wait_for_line() {
    local file=$1 pattern=$2 timeout=${3:-20}
    for ((i = 0; i < timeout * 10; i++)); do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "no '$pattern' in $file within ${timeout}s: $(cat "$file" 2>/dev/null)"
}

# The helper offers the record and a 50 x 30 picture.
spawn timeout 120 "$helper" offer "$record" 50 30 >"$E2E_TMP/offer.log"
owner=$!
wait_for_line "$E2E_TMP/offer.log" ready

targets=$(timeout 20 xclip -selection clipboard -t TARGETS -o)
echo "$targets" >"$ARTEFACTS/targets.txt"
grep -qx 'Tav.Swoop' <<<"$targets" || fail "Tav.Swoop not among the targets: $targets"
grep -qx 'image/png' <<<"$targets" || fail "image/png not among the targets: $targets"
grep -qx 'image/bmp' <<<"$targets" || fail "image/bmp not among the targets: $targets"

timeout 20 xclip -selection clipboard -t Tav.Swoop -o >"$E2E_TMP/served.bin"
cmp "$record" "$E2E_TMP/served.bin" || fail "the record came back changed"

timeout 20 xclip -selection clipboard -t image/png -o >"$ARTEFACTS/picture.png"
size=$(identify -format '%wx%h' "$ARTEFACTS/picture.png")
[[ "$size" == 50x30 ]] || fail "the picture is $size, not 50x30"
# The top-left pixel is the red one; the picture is not upside down.
pixel=$(convert "$ARTEFACTS/picture.png" -format '%[pixel:p{0,0}]' info:)
[[ "$pixel" == "srgb(255,0,0)" || "$pixel" == "red" ]] || fail "top-left pixel is $pixel"
pixel=$(convert "$ARTEFACTS/picture.png" -format '%[pixel:p{0,29}]' info:)
[[ "$pixel" == "srgb(255,255,255)" || "$pixel" == "white" ]] || fail "bottom-left pixel is $pixel"

# Another program takes the clipboard: the owner lets go of its data source.
offered=$E2E_TMP/offered.bin
printf '\x0c\x00\x00\x00\xff\x00\x0d\x0a\x00\x0a\x0d\xff' >"$offered"
timeout 20 xclip -selection clipboard -t Tav.Swoop -i "$offered" &
xclip_pid=$!
E2E_PIDS+=($xclip_pid)
wait_for_line "$E2E_TMP/offer.log" "source deleted"

timeout 30 "$helper" paste "$E2E_TMP/pasted.bin" >"$E2E_TMP/paste.log" ||
    fail "paste failed: $(cat "$E2E_TMP/paste.log")"
cmp "$offered" "$E2E_TMP/pasted.bin" || fail "the bytes offered by xclip came back changed"

kill "$owner" 2>/dev/null || true
echo PASS
