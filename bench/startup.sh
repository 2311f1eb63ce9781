#!/usr/bin/env bash
# Start-up to the first painted window under a private Xvfb: Swoop2 beside a bare Qt main
# window, in the same run. Usage: bench/startup.sh [BUILD-DIR]  (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
export SWOOP2_ARTEFACTS=$build/artefacts
source tests/e2e/lib.sh
"$build/bench/bench_StartupBench" --swoop2 "$build/swoop2" \
    --benchmark_out="$ARTEFACTS/startup.json" --benchmark_out_format=json
# The mean of the timed rounds of each, and their ratio.
awk -F'"' '
    $2 == "name" { name = $4 }
    $2 == "real_time" && name !~ /warm-up/ {
        value = $3
        gsub(/[:, ]/, "", value)
        kind = name ~ /Swoop2/ ? "swoop2" : "bare"
        t[kind] += value
        n[kind]++
    }
    END {
        bare = t["bare"] / n["bare"]
        app = t["swoop2"] / n["swoop2"]
        printf "bare Qt window %.1f ms, Swoop2 %.1f ms, ratio %.2f\n", bare, app, app / bare
    }' "$ARTEFACTS/startup.json"
