#!/bin/sh
# jalv, a real JACK host, loads each factory preset through its console
# commands `presets` and `preset URI`; the controls it then reports are the
# record add-on's program values. Needs a running JACK server
# (scripts/with-jackd). Usage: jalv-presets.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/programs.sh"
export LV2_PATH=$build/lv2
work=$(mktemp -d)
jp=""
stop() {
    if [ -n "$jp" ]; then kill -TERM "$jp" 2>/dev/null; wait "$jp" 2>/dev/null || true; fi
    jp=""
}
trap 'stop; rm -rf "$work"' EXIT
fail() { echo "jalv-presets: $*" >&2; [ -f "$work/out" ] && cat "$work/out" >&2; exit 1; }
# Waits up to 10 s until jalv's output has COUNT (default 1) lines matching
# the extended PATTERN.
wait_for() {
    tries=0
    until [ "$(grep -cE "$1" "$work/out" 2>/dev/null)" -ge "${2:-1}" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "jalv never printed $1 (${2:-1} times)"
        kill -0 "$jp" 2>/dev/null || fail "jalv stopped"
        sleep 0.1
    done
}
# Runs jalv with COMMANDS, one a line as COMMAND<tab>PATTERN<tab>COUNT, each
# sent once the previous one's answer is there, then stops it by its id.
session() {
    rm -f "$work/cmd" "$work/out"
    mkfifo "$work/cmd"
    # jalv writes to a file in full buffers; stdbuf makes it line by line.
    stdbuf -oL jalv -n wobrix-jalv "$URI" <"$work/cmd" >"$work/out" 2>&1 &
    jp=$!
    exec 3>"$work/cmd"
    wait_for "^enabled = "
    printf '%s\n' "$1" | while IFS='	' read -r command answer count; do
        printf '%s\n' "$command" >&3
        [ -z "$answer" ] || wait_for "$answer" "$count"
    done
    exec 3>&-
    stop
}

session "presets	\\(Heavy\\)"
grep -F "$URI#" "$work/out" | sed 's/^> //' >"$work/presets"
[ "$(wc -l <"$work/presets")" = 5 ] || fail "jalv lists $(wc -l <"$work/presets") presets"

programs "$build/wobrix-host" "$build/hosts/WobrixFree.so" | while IFS='|' read -r n name mix tube comp; do
    uri=$(grep -F "($name)" "$work/presets" | cut -d' ' -f1)
    [ -n "$uri" ] || fail "jalv lists no preset \"$name\""
    expected=$(printf 'mix = %.6f tube = %.6f comp = %.6f' "$mix" "$tube" "$comp")
    # Each control away from the preset's value first, so a preset that
    # does not load shows. Every console command that changes controls
    # prints all of them, ending with `enabled`.
    session "set mix 0.123456	^(> )?mix = 0.123456
set tube 0.654321	^(> )?tube = 0.654321
set comp 0.345678	^(> )?comp = 0.345678
presets	\\($name\\)
preset $uri	^(> )?enabled = 	2
controls	^(> )?enabled = 	3"
    got=$(grep -E '^(> )?(mix|tube|comp) = ' "$work/out" | sed 's/^> //' | tail -3 | tr '\n' ' ' | sed 's/ $//')
    [ "$got" = "$expected" ] || fail "preset \"$name\": jalv reports \"$got\", expected \"$expected\""
    echo "jalv-presets: preset \"$name\" ($uri): $got"
done
echo "jalv-presets: passed"
