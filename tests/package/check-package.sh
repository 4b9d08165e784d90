#!/bin/sh
# Builds the Debian package from a finished build (cpack) and checks it as
# dpkg would install it: exactly the files we ship, a Depends line worked out
# from the binaries, programs that arrive byte for byte as built (nothing
# stripped their resources), the skin still readable from the installed
# add-on, and the demo's default add-on found in the installed layout.
# Usage: check-package.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
fail() { echo "package: $*" >&2; exit 1; }

cd "$build"
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; fail "cpack failed"; }
deb=$(ls "$build"/wobrix-free_*.deb)

expected="./usr/bin/wobrix-gallery
./usr/bin/wobrix-host
./usr/lib/lv2/WobrixFree.lv2/WobrixFree.so
./usr/lib/lv2/WobrixFree.lv2/WobrixFree.ttl
./usr/lib/lv2/WobrixFree.lv2/WobrixFree_ui.so
./usr/lib/lv2/WobrixFree.lv2/manifest.ttl
./usr/lib/lv2/WobrixFree.lv2/presets.ttl
./usr/lib/vst/WobrixFree.so
./usr/share/doc/wobrix-free/README.md
./usr/share/man/man1/wobrix-host.1.gz"
files=$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ { print $6 }' | sort)
[ "$files" = "$expected" ] || fail "files are
$files
expected
$expected"
dpkg-deb -c "$deb" | awk '$6 == "./usr/lib/vst/WobrixFree.so" && $1 != "-rw-r--r--" { exit 1 }' ||
    fail "the add-on is not mode 644"

control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sort | tr '\n' ' ')
[ "$control" = "./control ./md5sums " ] || fail "control files are $control(no maintainer scripts expected)"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libcairo2 libsndfile1; do
    echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
cmp "$root/usr/lib/vst/WobrixFree.so" hosts/WobrixFree.so || fail "the add-on differs from the build"
cmp "$root/usr/bin/wobrix-gallery" wobrix-gallery || fail "wobrix-gallery differs from the build"
cmp "$root/usr/bin/wobrix-host" wobrix-host || fail "wobrix-host differs from the build"

"$root/usr/bin/wobrix-host" skin "$root/usr/lib/vst/WobrixFree.so" --out "$root/skin" >/dev/null
for id in 128 129 130 131; do
    ls "$root/skin/$id"-*.png >/dev/null 2>&1 || fail "picture $id missing from the packaged add-on"
done
"$root/usr/bin/wobrix-host" skin "$root/usr/lib/lv2/WobrixFree.lv2/WobrixFree_ui.so" --out "$root/ui-skin" >/dev/null
for id in 128 129 130 131; do
    ls "$root/ui-skin/$id"-*.png >/dev/null 2>&1 || fail "picture $id missing from the packaged LV2 editor"
done

# The bundle as lilv finds it in the packaged folder, with its presets.
LV2_PATH="$root/usr/lib/lv2" lv2ls | grep -qx http://www.zeltoaudio.com/lv2/WobrixFree ||
    fail "lv2ls does not find the packaged LV2 bundle"
LV2_PATH="$root/usr/lib/lv2" lv2info http://www.zeltoaudio.com/lv2/WobrixFree | grep -q "^	         Heavy$" ||
    fail "lv2info lists no Heavy preset in the packaged bundle"

gzip -dc "$root/usr/share/man/man1/wobrix-host.1.gz" | grep -q '^\.TH WOBRIX-HOST "1"' ||
    fail "the man page has no title line"

# Installed, no add-on lies beside wobrix-host: the demo takes ../lib/vst's.
"$root/usr/bin/wobrix-host" demo --out "$root/demo" >"$root/demo.log" ||
    fail "the installed demo failed: $(cat "$root/demo.log")"
grep -q "programs of WobrixFree into" "$root/demo.log" || fail "the demo did not run"
echo "package: $(basename "$deb") has the expected files, Depends: $depends"
