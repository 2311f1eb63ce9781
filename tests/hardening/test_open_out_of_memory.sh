#!/usr/bin/env bash
# Documents that need more memory than the process may have: the open is refused with the
# framework's message and the program goes on with an empty document. The sanitizers reserve
# more address space than any limit lets through, so a sanitizer build skips this test.
set -euo pipefail
program=${HARDENING_OPEN_OOM:?the test program}
if [[ -n "${SWOOP2_SANITIZED:-}" ]]; then
    echo "skipped: a sanitizer build cannot run under an address-space limit"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }

# The file's data is there (a sparse file of zeros, which are valid coordinates), so the
# loader believes its counts; the memory they need is several times the headroom.
headroom_kib=$((96 * 1024))
points=$((32 * 1024 * 1024))
{ le32 1; le32 $points; } >"$work/huge-curve"
truncate -s $((8 + 8 * points)) "$work/huge-curve"

curves=$((32 * 1024 * 1024))
le32 $curves >"$work/many-curves"
truncate -s $((4 + 4 * curves)) "$work/many-curves"

# Small curves that the file holds in full: memory runs out part way through, once the curves
# read so far hold it all (a point needs a dozen bytes of file and several times that in memory).
small=$((4 * 1024 * 1024))
{ le32 $small; } >"$work/many-small-curves"
{ le32 1; le32 7; le32 -9; } >"$work/small-curve"
for ((i = 0; i < 22; i++)); do
    cat "$work/small-curve" "$work/small-curve" >"$work/two" && mv "$work/two" "$work/small-curve"
done
cat "$work/small-curve" >>"$work/many-small-curves"

base=$("$program" --address-space)
limit_kib=$((base / 1024 + headroom_kib))
status=0
for file in huge-curve many-curves many-small-curves; do
    echo "== $file ($(stat -c %s "$work/$file") bytes) under ulimit -v $limit_kib"
    start=$(date +%s)
    if ! (ulimit -v "$limit_kib" && timeout 120 "$program" "$work/$file"); then
        echo "FAIL: $file"
        status=1
    fi
    echo "took $(($(date +%s) - start)) s"
done
exit $status
