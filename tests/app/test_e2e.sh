#!/bin/sh
# End to end: the real ZelvorsCube binary on an X display, driven with xdotool
# as a user would: Shuffle, Solve, Next a few times, Esc and Yes.
#   test_e2e.sh ZELVORSCUBE OUTDIR      (run under xvfb-run)
set -eu
bin=$1
out=$2
mkdir -p "$out"
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }
command -v import >/dev/null || { echo "ImageMagick is missing"; exit 1; }

"$bin" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

win=""
for _ in $(seq 1 50); do
    win=$(xdotool search --onlyvisible --name '^Zelvors Cube Solver$' 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.2
done
[ -n "$win" ] || { echo "FAIL: no window titled 'Zelvors Cube Solver'"; exit 1; }
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

click "$(at_x 70)" "$row"        # Shuffle, animated in the 3D view
sleep 6
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
