#!/bin/sh
# The LV2 editor in jalv, a real host, on a private X server and JACK dummy
# server (scripts/with-xvfb, scripts/with-jackd). Usage:
#   jalv-ui.sh BUILD_DIR HOST [OUT_DIR]
# HOST jalv.gtk3 or jalv.qt5: the editor is embedded (ui:parent); our window
#   must be a child of jalv's, show `wobrix-host editor`'s headless picture
#   of the same values pixel for pixel, and after a pointer drag of the
#   Compressor slider to the top, the headless picture at its top.
# HOST jalv: the console host shows the editor as a top-level window of its
#   own (ui:showInterface); the same pictures and drag.
# jalv shows no input port's value while a UI runs, so the drag's port write
# is heard: a sine (jack_simple_client) goes through the plug-in, and its
# output level with the Compressor at the top must be well above the level
# at 0 (about 0.34 against 0.10 RMS).
# Every host must keep running and log no X error. Pictures and recordings
# stay in OUT_DIR (default BUILD_DIR/jalv-ui/HOST).
set -eu
build=$(cd "$1" && pwd)
host=$2
out=${3:-$build/jalv-ui/$host}
URI=http://www.zeltoaudio.com/lv2/WobrixFree
export LV2_PATH=$build/lv2
# The editor's size and the Compressor slider (its column, the handle's
# resting row at 0 and a row above the top), in the editor's coordinates.
SIZE=340x262
SLIDER_X=245
HANDLE_Y=180
TOP_Y=20

rm -rf "$out"
mkdir -p "$out"
jp=""
sp=""
stop() {
    if [ -n "$sp" ]; then
        kill -TERM "$sp" 2>/dev/null || true
        wait "$sp" 2>/dev/null || true
        sp=""
    fi
    if [ -n "$jp" ]; then
        kill -TERM "$jp" 2>/dev/null || true
        # The console host waits twice after its UI loop ends.
        sleep 0.5
        kill -TERM "$jp" 2>/dev/null || true
        wait "$jp" 2>/dev/null || true
    fi
    jp=""
}
trap stop EXIT
say() { echo "jalv-ui $host: $*"; }
fail() {
    say "FAIL: $*"
    [ -f "$out/host.log" ] && sed 's/^/    log: /' "$out/host.log"
    xwininfo -root -tree >"$out/windows.txt" 2>&1 || true
    exit 1
}
alive() { kill -0 "$jp" 2>/dev/null || fail "$host stopped"; }

# The headless pictures: program 0 (the ports' defaults) and the Compressor
# at its top.
"$build/wobrix-host" editor "$build/WobrixFree.so" --png "$out/headless-p0.png" >/dev/null
"$build/wobrix-host" editor "$build/WobrixFree.so" --set 2=1 --png "$out/headless-comp-top.png" >/dev/null

rm -f "$out/cmd"
mkfifo "$out/cmd"
case $host in
# The JACK client's name is the one each host prints (the Qt host takes
# none on its command line; GTK's -n is --no-menu).
jalv) stdbuf -oL jalv -s "$URI" <"$out/cmd" >"$out/host.log" 2>&1 & ;;
*) stdbuf -oL "$host" "$URI" <"$out/cmd" >"$out/host.log" 2>&1 & ;;
esac
jp=$!
exec 3>"$out/cmd"

# Our window: the innermost of the editor's size without a name of its own
# (GTK puts one such around it).
ours=""
for _ in $(seq 100); do
    alive
    ours=$(xwininfo -root -tree | awk -v size=" $SIZE+" 'index($0, size) && /\(has no name\): \(\)/ { w = $1 } END { print w }')
    [ -n "$ours" ] && break
    sleep 0.1
done
[ -n "$ours" ] || fail "no $SIZE window"
xwininfo -root -tree >"$out/windows.txt"
parent=$(xwininfo -id "$ours" -tree | sed -n 's/^ *Parent window id: //p')
say "our window $ours, child of $parent"
case $host in
jalv) echo "$parent" | grep -q '"WobrixFree"$' ||
    fail "our window's parent is not the editor's own top-level window" ;;
*) top=$(awk -v id="$ours" '
        /^ +0x/ { d = match($0, /0x/); line[d] = $0; if ($1 == id) { for (k = 1; k < d; k++) if (k in line) print line[k]; exit } }
        ' "$out/windows.txt" | grep -F "(\"$host\"" | head -n1)
    [ -n "$top" ] || fail "our window is inside no window of $host"
    say "inside $host's window:$(echo "$top" | sed 's/^ *//')" ;;
esac

# Waits up to 5 s until our window shows PNG; prints the differing pixels.
same_as() {
    for _ in $(seq 50); do
        import -window "$ours" "$2"
        ae=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
        [ "$ae" = 0 ] && break
        sleep 0.1
    done
    echo "$ae"
}
ae=$(same_as "$out/headless-p0.png" "$out/shown-p0.png")
say "shown $out/shown-p0.png: $ae pixels differ from the headless picture of program 0"
[ "$ae" = 0 ] || fail "the editor's picture differs"
import -window root -crop 400x320+0+0 "$out/screen.png"

# The plug-in's output level over one second of a sine.
level() {
    jack_rec -f "$out/$1.wav" -d 1 "$client:out_l" >/dev/null 2>&1 || fail "jack_rec failed"
    sox "$out/$1.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }'
}
client=$(sed -n 's/^JACK Name: *//p' "$out/host.log")
[ -n "$client" ] || fail "$host named no JACK client"
jack_simple_client wobrix-sine >"$out/sine.log" 2>&1 &
sp=$!
for _ in $(seq 50); do
    jack_connect wobrix-sine:output1 "$client:in_l" 2>/dev/null && break
    sleep 0.1
done
jack_connect wobrix-sine:output2 "$client:in_r" || fail "the sine does not reach jalv's input"
before=$(level before-drag)
say "output level (RMS) with Compressor at 0: $before"

eval "$(xwininfo -id "$ours" | awk '/Absolute upper-left X/ {print "ex=" $NF} /Absolute upper-left Y/ {print "ey=" $NF}')"
say "dragging Compressor from $SLIDER_X,$HANDLE_Y to $SLIDER_X,$TOP_Y"
xdotool mousemove $((ex + SLIDER_X)) $((ey + HANDLE_Y)) mousedown 1
for y in $(seq $((HANDLE_Y - 20)) -20 $TOP_Y) $TOP_Y; do
    xdotool mousemove $((ex + SLIDER_X)) $((ey + y))
    sleep 0.05
done
sleep 0.2
xdotool mouseup 1
alive
ae=$(same_as "$out/headless-comp-top.png" "$out/shown-comp-top.png")
say "shown $out/shown-comp-top.png: $ae pixels differ from the headless picture with Compressor at its top"
[ "$ae" = 0 ] || fail "the picture after the drag differs"
after=$(level after-drag)
say "output level (RMS) after the drag: $after"
awk -v a="$after" -v b="$before" 'BEGIN { exit !(b > 0 && a > 2.5 * b) }' ||
    fail "the drag did not change jalv's Compressor port (level $before, then $after)"

alive
exec 3>&-
stop
if grep -qiE 'X Window System error|BadMatch|BadWindow|BadDrawable' "$out/host.log"; then
    fail "X errors in $host's log"
fi
say "PASS"
