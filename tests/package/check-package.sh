#!/bin/sh
# Builds the Debian package from a finished build (cpack) and checks it as
# dpkg would install it: exactly the files we ship, a Depends line worked out
# from the binaries, binaries stripped of symbols and debug information that
# still carry their pictures (the same as the build's), a changelog of the
# package's version, the demo's default add-on found in the installed layout,
# and no error or warning from lintian (when it is installed).
# Usage: check-package.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
fail() { echo "package: $*" >&2; exit 1; }

cd "$build"
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; fail "cpack failed"; }
deb=$(ls "$build"/wobrix-free_*.deb)

expected="./usr/bin/wobrix-gallery
./usr/bin/wobrix-host
./usr/bin/wobrix-jack
./usr/lib/lv2/WobrixFree.lv2/WobrixFree.so
./usr/lib/lv2/WobrixFree.lv2/WobrixFree.ttl
./usr/lib/lv2/WobrixFree.lv2/WobrixFree_ui.so
./usr/lib/lv2/WobrixFree.lv2/manifest.ttl
./usr/lib/lv2/WobrixFree.lv2/presets.ttl
./usr/lib/vst/WobrixFree.so
./usr/share/applications/wobrix-jack.desktop
./usr/share/doc/wobrix-free/README.md
./usr/share/doc/wobrix-free/changelog.gz
./usr/share/doc/wobrix-free/copyright
./usr/share/icons/hicolor/128x128/apps/wobrix-free.png
./usr/share/icons/hicolor/256x256/apps/wobrix-free.png
./usr/share/icons/hicolor/32x32/apps/wobrix-free.png
./usr/share/icons/hicolor/48x48/apps/wobrix-free.png
./usr/share/man/man1/wobrix-gallery.1.gz
./usr/share/man/man1/wobrix-host.1.gz
./usr/share/man/man1/wobrix-jack.1.gz"
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
for lib in libc6 libstdc++6 libcairo2 libsndfile1 libjack; do
    echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
# Stripped: no symbol table, no debug sections (file(1) says "stripped" for
# the first only).
for f in usr/bin/wobrix-host usr/bin/wobrix-gallery usr/bin/wobrix-jack usr/lib/vst/WobrixFree.so \
    usr/lib/lv2/WobrixFree.lv2/WobrixFree.so usr/lib/lv2/WobrixFree.lv2/WobrixFree_ui.so; do
    file "$root/$f" | grep -q ', stripped' || fail "$f is not stripped: $(file -b "$root/$f")"
    sections=$(readelf -S -W "$root/$f" | grep -E '\.(symtab|debug_|zdebug_)' || true)
    [ -z "$sections" ] || fail "$f keeps $sections"
done

# The pictures appended after the stripped images load, and are the build's.
"$build/wobrix-host" skin hosts/WobrixFree.so --out "$root/skin-build" >/dev/null
"$root/usr/bin/wobrix-host" skin "$root/usr/lib/vst/WobrixFree.so" --out "$root/skin" >/dev/null ||
    fail "the packaged add-on's pictures do not load"
diff -r "$root/skin-build" "$root/skin" >/dev/null || fail "the packaged add-on's pictures differ from the build's"
"$root/usr/bin/wobrix-host" skin "$root/usr/lib/lv2/WobrixFree.lv2/WobrixFree_ui.so" --out "$root/ui-skin" >/dev/null ||
    fail "the packaged LV2 editor's pictures do not load"
diff -r "$root/skin-build" "$root/ui-skin" >/dev/null || fail "the packaged LV2 editor's pictures differ from the build's"
"$build/wobrix-gallery" --still --png "$root/gallery-build.png" >/dev/null
"$root/usr/bin/wobrix-gallery" --still --png "$root/gallery.png" >/dev/null ||
    fail "the packaged gallery's pictures do not load"
cmp -s "$root/gallery-build.png" "$root/gallery.png" || fail "the packaged gallery draws another picture"

for page in wobrix-host wobrix-gallery wobrix-jack; do
    title=$(echo "$page" | tr a-z A-Z)
    gzip -dc "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH $title \"1\"" ||
        fail "the man page of $page has no title line"
done
version=$(dpkg-deb -f "$deb" Version)
logged=$(gzip -dc "$root/usr/share/doc/wobrix-free/changelog.gz" | dpkg-parsechangelog -l- -S Version)
[ "$logged" = "$version" ] || fail "the changelog's last entry is $logged, the package $version"

# The bundle as lilv finds it in the packaged folder, with its presets.
LV2_PATH="$root/usr/lib/lv2" lv2ls | grep -qx http://www.zeltoaudio.com/lv2/WobrixFree ||
    fail "lv2ls does not find the packaged LV2 bundle"
LV2_PATH="$root/usr/lib/lv2" lv2info http://www.zeltoaudio.com/lv2/WobrixFree | grep -q "^	         Heavy$" ||
    fail "lv2info lists no Heavy preset in the packaged bundle"

# The menu entry: valid, naming the packaged program and an icon of each
# size, each PNG as large as its folder says.
if command -v desktop-file-validate >/dev/null; then
    entry="$root/usr/share/applications/wobrix-jack.desktop"
    report=$(desktop-file-validate "$entry" 2>&1) && [ -z "$report" ] ||
        fail "desktop-file-validate: $report"
else
    echo "package: desktop-file-validate is not installed (scripts/install-deps installs it); not run"
fi
grep -qx 'Exec=wobrix-jack' "$root/usr/share/applications/wobrix-jack.desktop" ||
    fail "the menu entry does not run wobrix-jack"
for size in 32 48 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x$size/apps/wobrix-free.png"
    file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
        fail "the ${size}x$size icon is $(file -b "$icon")"
done
"$root/usr/bin/wobrix-jack" --version | grep -qx "wobrix-jack $version" ||
    fail "the packaged wobrix-jack does not run"

# Installed, no add-on lies beside wobrix-host: the demo takes ../lib/vst's.
"$root/usr/bin/wobrix-host" demo --out "$root/demo" >"$root/demo.log" ||
    fail "the installed demo failed: $(cat "$root/demo.log")"
grep -q "programs of WobrixFree into" "$root/demo.log" || fail "the demo did not run"
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" >"$root/lintian.log" 2>&1 ||
        fail "lintian: $(grep -E '^(E|W):' "$root/lintian.log" || cat "$root/lintian.log")"
else
    echo "package: lintian is not installed (scripts/install-deps installs it); not run"
fi
echo "package: $(basename "$deb") has the expected files, Depends: $depends"
