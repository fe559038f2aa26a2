#!/bin/sh
# The real ZelvorsCube binary driven from the keyboard alone with xdotool:
# the net chosen from the View menu, the cube cleared from its button reached
# with Tab, every facelet but the centres painted with colour keys in the net, the last key
# undone with Ctrl+Z and redone with Ctrl+Y, then Solve and its move played. Screenshots of each
# stage are left in OUTDIR.
#   test_entry_keys.sh ZELVORSCUBE OUTDIR      (run under xvfb-run)
set -eu
bin=$1
out=$2
mkdir -p "$out"
. "$(dirname "$0")/x11_common.sh"
zc_start "$bin"
sleep 1

fail() { echo "FAIL: $*"; import -window root "$out/keys-failed.png"; exit 1; }
pixel() {
    import -window root "$out/keys-probe.png"
    convert "$out/keys-probe.png" -crop "1x1+$1+$2" +repage -format '%[hex:p{0,0}]' info: | cut -c1-6
}
# The view's native surface and the net's facelet side c.
geo=$(xwininfo -tree -id "$win" | sed -n 's/.*"Zelvors Cube Solver": (.*)  *\([0-9]*\)x\([0-9]*\)+[-0-9]*+[-0-9]*  *+\([-0-9]*\)+\([-0-9]*\).*/\1 \2 \3 \4/p' | head -1)
[ -n "$geo" ] || fail "no native surface for the view"
set -- $geo
sw=$1; sh=$2; sx=$3; sy=$4
c=$(( (sw - 7) / 12 )); ch=$(( (sh - 5) / 9 )); [ $ch -lt $c ] && c=$ch
facelet() { zc_facelet "$@"; }
colour_at() { set -- $(facelet "$1" "$2" "$3"); pixel "$1" "$2"; }
# Waits up to 20 s (a sanitizer build is slow) for a facelet to show a colour.
expect() { # FACE ROW COL RRGGBB WHAT
    for _ in $(seq 1 40); do
        [ "$(colour_at "$1" "$2" "$3")" = "$4" ] && return 0
        sleep 0.5
    done
    fail "$5: $1 $2 $3 is $(colour_at "$1" "$2" "$3"), not $4"
}

# The net from the View menu; Clear reached with Tab from the list.
xdotool key --delay 150 alt+v Return
sleep 0.5
xdotool key --delay 150 Tab Tab Tab space
expect T 0 0 6E6E6E "Clear from the keyboard"
# The view is the last control in the tab order: Shift+Tab from the list.
xdotool key shift+Tab
sleep 0.3

# The cube after one clockwise turn of the top face, typed facelet by
# facelet in the order T F R L B D, each face row by row, the centres (which
# Clear keeps) skipped by the cursor: letters and the 54-digit format's digits
# (1 yellow, 2 blue, 3 red, 4 orange, 5 green, 6 white).
keys="y y y y y y y y  r r r b b b b b  g g g r r r r r  b b b o o o o o  o o o g g g g g  w w w w w w w 6"
for k in $keys; do
    xdotool key "$k"
done
expect D 2 2 FFFFFF "the last key"
import -window root "$out/keys-painted.png"
expect F 0 0 FF0000 "painting"
expect R 0 2 007900 "painting"
expect L 0 1 0000FF "painting"

# Undo takes the last key back, redo puts it again.
xdotool key ctrl+z
expect D 2 2 6E6E6E "Ctrl+Z"
import -window root "$out/keys-undone.png"
xdotool key ctrl+y
expect D 2 2 FFFFFF "Ctrl+Y"

# Solve, from its button reached with Tab (list, Reset, Shuffle, Clear, Solve),
# then the listed move played with Down in the list, which has the focus again.
xdotool key --delay 150 Tab Tab Tab Tab Tab space
sleep 6 # the list takes no keys while Solve runs
xdotool key Down
expect F 0 0 0000FF "Solve and its move"
import -window root "$out/keys-solved.png"
echo "PASS"
