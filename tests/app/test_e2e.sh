#!/bin/sh
# End to end: the real ZelvorsCube binary on an X display, driven with xdotool
# as a user would: the net at two sizes, a Shift double click on a face,
# painting, Enter, the "Unable To Solve Cube" box, the About box, Shuffle,
# Solve, Next a few times, Enter again, Esc and Yes. Screenshots of each
# stage are left in OUTDIR.
#   test_e2e.sh ZELVORSCUBE OUTDIR      (run under xvfb-run)
set -eu
bin=$1
out=$2
mkdir -p "$out"
. "$(dirname "$0")/x11_common.sh"
zc_start "$bin"
eval "$(xdotool getwindowgeometry --shell "$win")"
echo "window $WIDTH x $HEIGHT at $X,$Y"
[ "$WIDTH" -gt 300 ] && [ "$HEIGHT" -gt 200 ] || { echo "FAIL: window too small"; exit 1; }

# Horizontal positions scale with the width (490 dialog units); the button
# rows are anchored to the bottom edge.
at_x() { echo $((X + WIDTH * $1 / 490)); }
click() { xdotool mousemove "$1" "$2" click 1; }
# Number of distinct colours in a region of the screen: 1 for a blank area.
spread() { import -window root -crop "$1" +repage -format '%k' info:; }
list_band="$((WIDTH * 96 / 490))x40+$(at_x 384)+$((Y + HEIGHT / 3))"
row=$((Y + HEIGHT - 30))

sleep 1
s=$(spread "$list_band"); [ "$s" = "1" ] || { echo "FAIL: the solution list is not empty at start ($s)"; import -window root "$out/e2e-start.png"; exit 1; }

fail() { echo "FAIL: $*"; import -window root "$out/e2e-failed.png"; exit 1; }
# Colour of one screen pixel as RRGGBB.
pixel() {
    import -window root "$out/e2e-probe.png"
    convert "$out/e2e-probe.png" -crop "1x1+$1+$2" +repage -format '%[hex:p{0,0}]' info: | cut -c1-6
}
# The view's native surface (the dialog's one child X window): its size and
# place on the screen, and the net's facelet side c for that size.
surface() {
    geo=$(xwininfo -tree -id "$win" | sed -n 's/.*"Zelvors Cube Solver": (.*)  *\([0-9]*\)x\([0-9]*\)+[-0-9]*+[-0-9]*  *+\([-0-9]*\)+\([-0-9]*\).*/\1 \2 \3 \4/p' | head -1)
    [ -n "$geo" ] || fail "no native surface for the view"
    set -- $geo
    sw=$1; sh=$2; sx=$3; sy=$4
    c=$(( (sw - 7) / 12 )); ch=$(( (sh - 5) / 9 )); [ $ch -lt $c ] && c=$ch
    echo "view surface ${sw}x${sh} at $sx,$sy, facelet side $c"
}
facelet() { zc_facelet "$@"; }
# The net's last pixels, D's bottom border and B's right one, are on screen.
net_whole() {
    [ "$(pixel $((sx + 3 * c + 3 + c / 2)) $((sy + 9 * c + 4)))" = "7F7F7F" ] || fail "$1: D's bottom border is cut"
    [ "$(pixel $((sx + 12 * c + 6)) $((sy + 3 * c + 3 + c / 2)))" = "7F7F7F" ] || fail "$1: B's right border is cut"
}
# Vertical dialog units of the client area below the view's top (27 units).
at_y() { echo $((sy - 1 + ($1 - 27) * (sh + 2) / 184)); }

surface
click "$(at_x 27)" "$(at_y 9)"   # the 3D View box: off, the net
sleep 1
import -window root "$out/e2e-net-default.png"
net_whole "default size"

# A Shift double click on F, through the real surface: a half turn, so T's
# bottom row shows D's white.
set -- $(facelet F 1 1)
xdotool mousemove "$1" "$2" keydown shift click --repeat 2 --delay 60 1 keyup shift
sleep 1
set -- $(facelet T 2 1)
[ "$(pixel "$1" "$2")" = "FFFFFF" ] || fail "Shift double click on F is not a half turn (T bottom: $(pixel "$1" "$2"))"
click "$(at_x 27)" "$row"        # Reset
sleep 1

# Paint an edge flipped (F top yellow, T bottom blue), then Enter and keypad
# Enter: the painting stays.
click "$(at_x 365)" "$(at_y $((27 + 22 * 4 + 9)))"   # yellow swatch
set -- $(facelet F 0 1); click "$1" "$2"
click "$(at_x 365)" "$(at_y $((27 + 22 * 1 + 9)))"   # blue swatch
set -- $(facelet T 2 1); click "$1" "$2"
sleep 0.5
xdotool key Return
xdotool key KP_Enter
sleep 1
import -window root "$out/e2e-painted-enter.png"
set -- $(facelet F 0 1)
p=$(pixel "$1" "$2"); [ "$p" = "FFFF00" ] || fail "Enter changed the painted cube (F top: $p at $1,$2)"
set -- $(facelet T 2 1)
p=$(pixel "$1" "$2"); [ "$p" = "0000FF" ] || fail "Enter changed the painted cube (T bottom: $p)"

click "$(at_x 156)" "$row"       # Solve: an edge flipped cannot be solved
box=""
for _ in $(seq 1 50); do
    box=$(xdotool search --onlyvisible --name '^Unable To Solve Cube$' 2>/dev/null | head -1 || true)
    [ -n "$box" ] && break
    sleep 0.2
done
[ -n "$box" ] || fail "no \"Unable To Solve Cube\" box"
sleep 0.5
import -window root "$out/e2e-unable-to-solve.png"
xdotool key Return
sleep 1

click "$(at_x 199)" "$row"       # About...
sleep 1.5
import -window root "$out/e2e-about.png"
xdotool key Escape
sleep 0.5
click "$(at_x 27)" "$row"        # Reset
sleep 1

click "$(at_x 70)" "$row"        # Shuffle, animated in the net
sleep 9
import -window root "$out/e2e-shuffled.png"
click "$(at_x 156)" "$row"       # Solve
sleep 3
[ "$(spread "$list_band")" != "1" ] || { echo "FAIL: Solve did not fill the solution list"; exit 1; }
for _ in 1 2 3; do
    click "$(at_x 458)" $((Y + HEIGHT - 25))   # Next
    sleep 1
done
import -window root "$out/e2e-stepped.png"
view="$((WIDTH * 200 / 490))x$((HEIGHT / 3))+$(at_x 80)+$((Y + HEIGHT / 3))"
[ "$(spread "$view")" != "1" ] || { echo "FAIL: the cube view is blank"; exit 1; }

# Enter with the list focused: the cube and the list stay.
before=$(import -window root -crop "${sw}x${sh}+$sx+$sy" +repage rgb:- | md5sum)
xdotool key Return
xdotool key KP_Enter
sleep 1
after=$(import -window root -crop "${sw}x${sh}+$sx+$sy" +repage rgb:- | md5sum)
[ "$before" = "$after" ] || fail "Enter changed the cube after Solve"
[ "$(spread "$list_band")" != "1" ] || fail "Enter emptied the solution list"

# An odd size: the whole net is still inside the view.
xdotool windowsize "$win" $((WIDTH + 117)) $((HEIGHT + 61))
sleep 1.5
surface
import -window root "$out/e2e-net-odd.png"
net_whole "odd size"

xdotool key Escape
sleep 1
kill -0 $pid 2>/dev/null || { echo "FAIL: Esc closed the program without asking"; exit 1; }
import -window root "$out/e2e-exit-box.png"
xdotool key Return               # Yes, the default button of the Exit box
for _ in $(seq 1 50); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.2
done
if kill -0 $pid 2>/dev/null; then
    echo "FAIL: the program did not end after Yes"
    exit 1
fi
wait $pid
status=$?
trap - EXIT
[ $status -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
echo "PASS: shuffled, solved, stepped and exited"
