#!/bin/sh
# The program on displays that are named but cannot be opened: it says so in
# words and exits with status 1, as when no display is named at all.
# Usage: test_no_display.sh PROGRAM
prog=$1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0

check() {
    label=$1
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$prog" >"$out" 2>&1
    rc=$?
    if [ "$rc" -ne 1 ]; then
        echo "FAIL $label: exit status $rc, not 1"
        sed 's/^/  | /' "$out"
        status=1
    elif ! grep -q "no display to open a window on" "$out"; then
        echo "FAIL $label: no plain message"
        sed 's/^/  | /' "$out"
        status=1
    else
        echo "ok   $label"
    fi
}

check "nothing set"
check "DISPLAY=junk" DISPLAY=junk
check "DISPLAY=:9317 with no server" DISPLAY=:9317
check "dead Wayland display" WAYLAND_DISPLAY=zelvors-no-such-display XDG_RUNTIME_DIR=/tmp
check "xcb asked for, DISPLAY=junk" QT_QPA_PLATFORM=xcb DISPLAY=junk
exit $status
