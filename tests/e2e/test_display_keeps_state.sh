#!/usr/bin/env bash
# The tests' X server must not reset when its last client leaves: a reset closes the connections
# it has accepted meanwhile, and a program that starts just then cannot connect to the display.
# A reset also clears the root window's properties, so one set by a client that then leaves
# must still be there for the next.
source "$(dirname "$0")/lib.sh"

xprop -root -f _SWOOP2_MARK 8s -set _SWOOP2_MARK kept
sleep 1
[[ "$(xprop -root _SWOOP2_MARK)" == *'"kept"'* ]] ||
    fail "the X server on $DISPLAY reset when its last client left ($(xvfb_state))"
echo PASS
