#!/bin/sh
# wobrix-jack's window on $DISPLAY with no window manager, on the dummy
# server of scripts/with-jackd: its names and fixed size hints, a slider
# dragged by the pointer (XTest, through xdotool), Ctrl+Q ending it with 0,
# and a restart with the state file showing the same picture, closed as a
# window manager closes it (WM_DELETE_WINDOW), 0 again. Exit 77 (a skip)
# without a display.
set -u
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY (make test runs this under a private Xvfb)"; exit 77; }
jack=$1/wobrix-jack
work=$(mktemp -d "${TMPDIR:-/tmp}/wobrix-jack-window.XXXXXX") || exit 2
pid=""
trap '[ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 2
fail() { echo "FAIL: $*" >&2; [ -f err ] && cat err >&2; exit 1; }
# The id of our top-level window, once it is shown with the editor in it
# (at 340x262, or the size given).
window() {
    size=${1:-340x262}
    for i in $(seq 100); do
        w=$(xwininfo -root -tree 2>/dev/null |
            grep -F '"WobrixFree": ("wobrix-jack" "Wobrix-jack")  '"$size" | awk '{print $1; exit}')
        [ -n "$w" ] && xwininfo -id "$w" -children | grep -q "$size" && { echo "$w"; return 0; }
        kill -0 "$pid" 2>/dev/null || fail "wobrix-jack ended early"
        sleep 0.1
    done
    fail "no window"
}
# The window's pixels once two looks a moment apart agree.
picture() {
    xwd -id "$1" -silent > "$2.a"
    for i in $(seq 50); do
        sleep 0.2
        xwd -id "$1" -silent > "$2"
        cmp -s "$2" "$2.a" && return 0
        mv "$2" "$2.a"
    done
    fail "the picture never settled"
}

"$jack" --name wbxw --program 0 --state state.txt > out 2> err &
pid=$!
w=$(window)
props=$(xprop -id "$w" WM_CLASS WM_NORMAL_HINTS WM_PROTOCOLS)
for want in 'WM_CLASS(STRING) = "wobrix-jack", "Wobrix-jack"' 'minimum size: 340 by 262' \
            'maximum size: 340 by 262' 'WM_DELETE_WINDOW'; do
    echo "$props" | grep -qF "$want" || fail "no '$want' in: $props"
done
# The Tube Dist slider from 0 up to about half; the editor's tracking loop
# reads the pointer as it is, so each step is given time to be seen.
xdotool mousemove --window "$w" 155 170 sleep 0.2 mousedown 1 sleep 0.2 \
    mousemove --window "$w" 155 140 sleep 0.2 mousemove --window "$w" 155 110 sleep 0.2 mouseup 1
picture "$w" dragged.xwd
xdotool mousemove --window "$w" 300 200 key ctrl+q
wait "$pid"; status=$?; pid=""
[ "$status" -eq 0 ] || fail "Ctrl+Q: exit $status"
tube=$(sed -n 's/^set 1=\([0-9.e-]*\) .*/\1/p' state.txt)
awk -v t="$tube" 'BEGIN { exit !(t > 0.2 && t < 0.9) }' || fail "Tube Dist after the drag: $tube"

cp state.txt state.before
"$jack" --name wbxw --state state.txt > out 2> err &
pid=$!
w=$(window)
picture "$w" restarted.xwd
"$1/tests/jack/wm-delete" "$w" || fail "wm-delete"
wait "$pid"; status=$?; pid=""
[ "$status" -eq 0 ] || fail "WM_DELETE_WINDOW: exit $status"
cmp -s dragged.xwd restarted.xwd || fail "the restart shows another picture"
cmp -s state.txt state.before || fail "the restart changed the state"
# At --scale 2 the window and the editor in it are twice the size.
"$jack" --name wbxw --scale 2 > out 2> err &
pid=$!
w=$(window 680x524)
"$1/tests/jack/wm-delete" "$w" || fail "wm-delete"
wait "$pid"; status=$?; pid=""
[ "$status" -eq 0 ] || fail "--scale 2: exit $status"
echo "wobrix-jack window: all passed"
