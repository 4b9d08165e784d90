#!/bin/sh
# wobrix-jack as a user runs it, on the dummy server of scripts/with-jackd
# (JACK_DEFAULT_SERVER): refusals, ports and connections as asked, buffer
# size and freewheel changes while it plays, a taken name, the state written
# on SIGTERM and read back, the audio against `wobrix-host process` of the
# same input, and the server stopped under it (last).
set -u
build=$1
jack=$build/wobrix-jack
work=$(mktemp -d "${TMPDIR:-/tmp}/wobrix-jack-test.XXXXXX") || exit 2
pid=""
trap '[ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 2
fail() { echo "FAIL: $*" >&2; [ -f err ] && cat err >&2; exit 1; }
oneLine() { [ "$(wc -l < "$1")" -eq 1 ] || fail "$1 is not one line"; }
# Until our four ports are there.
waitPorts() {
    for i in $(seq 100); do
        [ "$(jack_lsp 2>/dev/null | grep -c "^$1:")" -eq 4 ] && return 0
        kill -0 "$pid" 2>/dev/null || fail "wobrix-jack ended early"
        sleep 0.1
    done
    fail "no ports for $1"
}
linked() { jack_lsp -c "$1" | grep -q "^   $2\$" || fail "$1 is not linked with $2"; }

printf 'program 1\nset 0=2\n' > bad.txt
cp bad.txt bad.before
"$jack" --headless --state bad.txt 2> err
[ $? -eq 2 ] || fail "a malformed state file is not refused with 2"
oneLine err
cmp -s bad.txt bad.before || fail "the malformed state file changed"

JACK_DEFAULT_SERVER=wobrix-none "$jack" --headless 2> err
[ $? -eq 1 ] || fail "no server: not 1"
grep -q "no JACK server is running" err || fail "no server: wrong message"
oneLine err

"$jack" --headless --name wbx --connect system:capture_1=in_l --connect out_r=system:playback_2 \
    --connect out_l=nosuch:port --program 3 --set 1=0.5 --state state.txt > out 2> err &
pid=$!
waitPorts wbx
linked wbx:in_l system:capture_1
linked wbx:out_r system:playback_2
grep -q "cannot connect wbx:out_l to nosuch:port" err || fail "the failed link is not named"
oneLine err
jack_lsp -c wbx:in_r | grep -q "^   " && fail "in_r is linked without being asked"

"$jack" --headless --name wbx 2> err2
[ $? -eq 1 ] && grep -q "the JACK client name wbx is in use" err2 || fail "a taken name is not refused"

for size in 128 1024 256; do jack_bufsize "$size" > /dev/null || fail "jack_bufsize $size"; done
jack_freewheel y && sleep 0.5 && jack_freewheel n || fail "jack_freewheel"
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "wobrix-jack ended on a buffer size or freewheel change"
linked wbx:in_l system:capture_1
linked wbx:out_r system:playback_2

kill -TERM "$pid"; wait "$pid"; status=$?; pid=""
[ "$status" -eq 0 ] || fail "SIGTERM: exit $status"
grep -qx "program 3" state.txt && grep -q "^set 1=0.5 " state.txt || fail "state.txt: $(cat state.txt)"
[ "$(ls)" = "$(printf 'bad.before\nbad.txt\nerr\nerr2\nout\nstate.txt')" ] || fail "left beside: $(ls)"

# A restart with the state alone: the same program and values, written again.
cp state.txt state.before
"$jack" --headless --name wbx --state state.txt > out 2> err &
pid=$!
waitPorts wbx
kill -TERM "$pid"; wait "$pid"; pid=""
cmp -s state.txt state.before || fail "the restart changed the state"

# A known signal played in and recorded back in the same cycles (after 20
# cycles) against `wobrix-host process` of what was played: the same
# samples for a setting without state (tube on, compressor off), the same
# level within 0.5 dB for Heavy.
rms() { sox "$1" -n stat 2>&1 | awk '/^RMS +amplitude/ {print $3}'; }
for setting in "--program 0 --set 1=0.6" "--program 3"; do
    "$jack" --headless --name wbx $setting > out 2> err &
    pid=$!
    waitPorts wbx
    "$build/tests/jack/jack-probe" wbx 48000 20 . || fail "jack-probe $setting"
    kill -TERM "$pid"; wait "$pid"; pid=""
    "$build/wobrix-host" process "$build/hosts/WobrixFree.so" in.wav ref.wav $setting > /dev/null ||
        fail "wobrix-host process $setting"
    if [ "$setting" = "--program 3" ]; then
        awk -v a="$(rms ref.wav)" -v b="$(rms out.wav)" \
            'BEGIN { d = 20 * log(a / b) / log(10); exit !(a > 0.01 && d < 0.5 && d > -0.5) }' ||
            fail "Heavy: RMS $(rms out.wav) live against $(rms ref.wav) offline"
    else
        sox ref.wav -t f32 ref.raw && sox out.wav -t f32 out.raw && cmp -s ref.raw out.raw ||
            fail "$setting: the live samples differ from wobrix-host process"
        [ "$(rms out.wav)" != "0.000000" ] || fail "$setting: silence"
    fi
    rm -f in.wav out.wav ref.wav ref.raw out.raw
done

# The server stopped under it: one line, exit 1, the state written.
"$jack" --headless --name wbx --set 0=0.25 --state state.txt > out 2> err &
pid=$!
waitPorts wbx
server=$(pgrep -P "$PPID" -x jackd) || fail "with-jackd's server not found"
kill -TERM "$server"
wait "$pid"; status=$?; pid=""
[ "$status" -eq 1 ] || fail "server gone: exit $status"
grep -q "the JACK server went away" err || fail "server gone: wrong message"
oneLine err
grep -q "^set 0=0.25 " state.txt || fail "server gone: the state is not written"
echo "wobrix-jack session: all passed"
