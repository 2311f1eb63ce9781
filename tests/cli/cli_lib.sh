#!/usr/bin/env bash
# Shared by the command line's tests: a temporary folder, and no display of any kind, so that
# whatever the program does here it must do without one.
set -euo pipefail

CLI_NAME=$(basename "${BASH_SOURCE[1]}" .sh)
CLI_TMP=$(mktemp -d "${TMPDIR:-/tmp}/swoop2-cli.XXXXXX")
ARTEFACTS=${SWOOP2_ARTEFACTS:-$CLI_TMP/artefacts}/$CLI_NAME
mkdir -p "$ARTEFACTS"
trap 'rm -rf "$CLI_TMP"' EXIT

unset DISPLAY WAYLAND_DISPLAY
export XDG_CONFIG_HOME=$CLI_TMP/config HOME=$CLI_TMP/home
mkdir -p "$XDG_CONFIG_HOME" "$HOME"
: "${SWOOP2:?the program under test}"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the program with a time limit: status in $status, output in $out and $err.
out=$CLI_TMP/stdout
err=$CLI_TMP/stderr
run() {
    status=0
    timeout 60 "$SWOOP2" "$@" >"$out" 2>"$err" || status=$?
}

source "$(dirname "${BASH_SOURCE[0]}")/../support/le32.sh"
