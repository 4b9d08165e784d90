#!/bin/sh
# The LV2 bundle through Debian's own tools, as black boxes: lv2_validate,
# serdi, lv2info, lv2ls, the binary's exports and libraries, and renders by
# lv2file (each preset, other block sizes and values) and lv2apply (block 1)
# that must equal `wobrix-host process` of the record add-on sample for
# sample. Usage: lilv-tools.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/programs.sh"
bundle=$build/lv2/WobrixFree.lv2
host=$build/wobrix-host
record=$build/hosts/WobrixFree.so
export LV2_PATH=$build/lv2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "lilv-tools: $*" >&2; exit 1; }

out=$(lv2_validate "$bundle"/*.ttl 2>&1) || fail "lv2_validate failed: $out"
echo "$out" | grep -q "Found 0 errors" || fail "lv2_validate: $out"
for f in "$bundle"/*.ttl; do serdi -q -i turtle -o ntriples "$f" >/dev/null || fail "serdi: $f"; done

lv2info "$URI" >"$work/info" 2>"$work/info.err" || fail "lv2info failed: $(cat "$work/info.err")"
[ ! -s "$work/info.err" ] || fail "lv2info warned: $(cat "$work/info.err")"
[ "$(grep -c '^	Port [0-9]*:' "$work/info")" = 8 ] || fail "lv2info lists no 8 ports"
for symbol in in_l in_r out_l out_r mix tube comp enabled; do
    grep -q "Symbol: *$symbol\$" "$work/info" || fail "lv2info lacks port $symbol"
done
lv2ls 2>"$work/ls.err" | grep -qx "$URI" || fail "lv2ls does not find $URI"
[ ! -s "$work/ls.err" ] || fail "lv2ls warned: $(cat "$work/ls.err")"

so=$bundle/WobrixFree.so
exports=$(nm -D --defined-only "$so" | awk '{ print $3 }')
[ "$exports" = lv2_descriptor ] || fail "exports are: $exports"
if readelf -d "$so" | grep NEEDED | grep -Eiq 'cairo|xcb|pixbuf|fontconfig|glib|X11'; then
    fail "the audio binary needs a graphics library: $(readelf -d "$so" | grep NEEDED)"
fi

# A bass line the kernel has to work on: two saws an octave and a fifth
# apart, driven into the clip, with a quiet stretch; 48 kHz float stereo.
sox -V1 -n -r 48000 -c 2 -e floating-point -b 32 "$work/dry.wav" \
    synth 2.5 sawtooth 55 sine 82.5 synth 2.5 sine amod 3 gain -n -0.5 pad 0 0.5
raw() { sox -V1 "$1" -t f32 "$2"; }
same() { # same LV2_RENDER RECORD_RENDER WHAT
    raw "$1" "$work/a.f32"
    raw "$2" "$work/b.f32"
    max=$(sox -V1 -m -v 1 "$1" -v -1 "$2" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
    cmp -s "$work/a.f32" "$work/b.f32" || fail "$3: differs from wobrix-host process (max difference $max)"
    echo "lilv-tools: $3: same samples as wobrix-host process (max difference $max)"
}

programs "$host" "$record" >"$work/programs"
[ "$(wc -l <"$work/programs")" = 5 ] || fail "wobrix-host info lists no 5 programs"
lv2file -L "$URI" >"$work/presets" 2>&1
while IFS='|' read -r n name mix tube comp; do
    grep -qxF "Preset: $name" "$work/presets" || fail "lv2file -L lacks preset \"$name\""
    "$host" process "$record" "$work/dry.wav" "$work/rec.wav" --program "$n" --quiet
    lv2file -i "$work/dry.wav" -o "$work/lv2.wav" -P "$name" -b 512 "$URI" >/dev/null 2>&1 ||
        fail "lv2file -P \"$name\" failed"
    same "$work/lv2.wav" "$work/rec.wav" "lv2file preset \"$name\" (program $n), block 512"
done <"$work/programs"

"$host" process "$record" "$work/dry.wav" "$work/rec.wav" --set 0=0.37 --set 1=0.81 --set 2=0.999 --quiet
for block in 1 64 4096 1021; do
    lv2file -i "$work/dry.wav" -o "$work/lv2.wav" -b $block -p mix:0.37 -p tube:0.81 -p comp:0.999 \
        "$URI" >/dev/null 2>&1 || fail "lv2file -b $block failed"
    same "$work/lv2.wav" "$work/rec.wav" "lv2file mix 0.37 tube 0.81 comp 0.999, block $block"
done
"$host" process "$record" "$work/dry.wav" "$work/rec.wav" --program 3 --quiet
lv2apply -i "$work/dry.wav" -o "$work/apply.wav" -c tube 0.6 -c comp 0.96 "$URI" ||
    fail "lv2apply failed"
same "$work/apply.wav" "$work/rec.wav" "lv2apply tube 0.6 comp 0.96 (block 1)"
echo "lilv-tools: passed"
