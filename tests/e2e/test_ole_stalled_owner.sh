#!/usr/bin/env bash
# A clipboard owner that stops answering (here: stopped with SIGSTOP) must not stall the
# questions that menus and toolbars ask on every update.
source "$(dirname "$0")/lib.sh"

helper=${SWOOP2_BUILD_DIR:?}/tests/e2e/ole_helper/ole_helper
[[ -x "$helper" ]] || fail "no helper at $helper"

record=$E2E_TMP/record.bin
printf '\x0c\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00' >"$record"

wait_for_file() {
    local file=$1 timeout=${2:-20}
    for ((i = 0; i < timeout * 10; i++)); do
        [[ -e "$file" ]] && return 0
        sleep 0.1
    done
    fail "no $file within ${timeout}s"
}

spawn timeout 300 "$helper" offer "$record" 20 20 >"$E2E_TMP/offer.log"
owner=$!
for ((i = 0; i < 200; i++)); do
    grep -q ready "$E2E_TMP/offer.log" && break
    sleep 0.1
done

# The prober learns the formats while the owner still answers, then the owner stops.
spawn timeout 300 "$helper" probe "$E2E_TMP/ready" "$E2E_TMP/go" >"$E2E_TMP/probe.log"
prober=$!
wait_for_file "$E2E_TMP/ready"
kill -STOP "$owner"
touch "$E2E_TMP/go"
# A stall would take 5 s per question; this limit only catches that, it measures nothing.
for ((i = 0; i < 600; i++)); do
    grep -q elapsed_ms "$E2E_TMP/probe.log" && break
    sleep 0.1
done
kill -CONT "$owner"
result=$(cat "$E2E_TMP/probe.log")
echo "$result" >"$ARTEFACTS/probe.txt"
read -r _ elapsed _ answered <<<"$(grep elapsed_ms <<<"$result")" ||
    fail "the prober did not answer: $result"
[[ "$answered" == 100 ]] || fail "the format was reported available $answered times of 100"
((elapsed < 1000)) || fail "100 questions took ${elapsed} ms with the owner stopped"
echo PASS
