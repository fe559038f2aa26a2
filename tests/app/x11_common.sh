# Shared by the xdotool runs of the real program; sourced, not run.
# zc_start BIN: starts the program and waits for its main window; sets pid
# and win (and kills the program when the script exits).
# zc_facelet FACE ROW COL: the screen point "x y" of a facelet of the net,
# given the view surface's origin sx, sy and the facelet side c.

command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }
# The program remembers options and its window's place; each script starts
# from none remembered.
XDG_CONFIG_HOME=$(mktemp -d "${TMPDIR:-/tmp}/zelvors-config.XXXXXX")
export XDG_CONFIG_HOME
command -v import >/dev/null || { echo "ImageMagick is missing"; exit 1; }

zc_start() {
    "$1" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    win=""
    for _ in $(seq 1 50); do
        win=$(xdotool search --onlyvisible --name '^Zelvors Cube Solver$' 2>/dev/null | head -1 || true)
        [ -n "$win" ] && break
        sleep 0.2
    done
    [ -n "$win" ] || { echo "FAIL: no window titled 'Zelvors Cube Solver'"; exit 1; }
}

zc_facelet() {
    case $1 in
    T) fx=$((3 * c + 3)); fy=1 ;;
    L) fx=1; fy=$((3 * c + 3)) ;;
    F) fx=$((3 * c + 3)); fy=$((3 * c + 3)) ;;
    R) fx=$((6 * c + 5)); fy=$((3 * c + 3)) ;;
    B) fx=$((9 * c + 7)); fy=$((3 * c + 3)) ;;
    D) fx=$((3 * c + 3)); fy=$((6 * c + 5)) ;;
    esac
    echo "$((sx + fx + $3 * c + c / 2)) $((sy + fy + $2 * c + c / 2))"
}
