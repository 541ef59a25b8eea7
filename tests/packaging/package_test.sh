#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a scratch root as a packager would, checks what
# lands where with the desktop's own validators, then builds the Debian
# package, runs lintian on it and starts the unpacked program.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1

fail() {
    echo "package_test: FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli man lintian dpkg-deb dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (Debian packages: desktop-file-utils appstream man-db lintian dpkg-dev)"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root

echo "== installed tree"
DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.txt"
(cd "$root" && find . | sort)
expected="./usr/bin/kestrow
./usr/bin/kestrow-table
./usr/share/applications/kestrow.desktop
./usr/share/bash-completion/completions/kestrow
./usr/share/bash-completion/completions/kestrow-table
./usr/share/doc/kestrow/LICENSE
./usr/share/doc/kestrow/changelog.gz
./usr/share/doc/kestrow/copyright
./usr/share/icons/hicolor/128x128/apps/kestrow.png
./usr/share/icons/hicolor/16x16/apps/kestrow.png
./usr/share/icons/hicolor/256x256/apps/kestrow.png
./usr/share/icons/hicolor/32x32/apps/kestrow.png
./usr/share/icons/hicolor/48x48/apps/kestrow.png
./usr/share/icons/hicolor/64x64/apps/kestrow.png
./usr/share/icons/hicolor/scalable/apps/kestrow.svg
./usr/share/man/man1/kestrow-table.1.gz
./usr/share/man/man1/kestrow.1.gz
./usr/share/metainfo/org.example.kestrow.metainfo.xml"
files=$(cd "$root" && find . -type f | LC_ALL=C sort)
[ "$files" = "$(LC_ALL=C sort <<<"$expected")" ] ||
    fail "installed files differ from the expected ones: $(diff <(echo "$expected" | LC_ALL=C sort) <(echo "$files") || true)"
for size in 16 32 48 64 128 256; do
    file "$root/usr/share/icons/hicolor/${size}x$size/apps/kestrow.png" | grep -q "$size x $size" ||
        fail "the ${size}x$size icon is not $size pixels wide and high"
done
# The small icon is drawn on a sky with rounded corners, which are transparent.
grep -qa tRNS "$root/usr/share/icons/hicolor/16x16/apps/kestrow.png" ||
    fail "the 16x16 icon has no transparent colour"
grep -q '^Exec=kestrow --user-settings --local-time --precise$' "$root/usr/share/applications/kestrow.desktop" ||
    fail "the desktop entry does not start kestrow with --user-settings --local-time --precise"

echo "== validators"
share=$root/usr/share
out=$(desktop-file-validate "$share/applications/kestrow.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --pedantic "$share/metainfo/"*.metainfo.xml 2>&1) ||
    fail "appstreamcli: $out"
echo "$out"
! grep -qE '^[EWI]:' <<<"$out" || fail "appstreamcli: $out"
for page in "$share/man/man1/"*.1.gz; do
    out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man -l $page: $out"
    LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q '^NAME' ||
        fail "man -l $page renders no NAME section"
done
echo "desktop-file-validate, appstreamcli and man --warnings: nothing to report"

echo "== Debian package"
# Built in a folder of its own, so that nothing is shared with another run.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/deb" >"$tmp/cpack.txt" ||
    fail "cpack: $(cat "$tmp/cpack.txt")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$tmp/deb/kestrow_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$tmp/deb")"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 ||
    fail "the package does not depend on the Qt it links: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q libqt6svg6 ||
    fail "the package does not bring the SVG image plugin: $(dpkg-deb -f "$deb" Depends)"
[ "$(dpkg-deb -f "$deb" Recommends)" = "xdg-utils, qt6-wayland" ] ||
    fail "the package recommends \"$(dpkg-deb -f "$deb" Recommends)\", not xdg-utils and qt6-wayland"
lintian "$deb" >"$tmp/lintian.txt" 2>&1 || true
grep -v '^running with root privileges' "$tmp/lintian.txt" || true
! grep -q '^E:' "$tmp/lintian.txt" || fail "lintian reports errors"

dpkg-deb -x "$deb" "$tmp/unpacked"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tmp/unpacked/usr/bin/kestrow" --version) ||
    fail "the unpacked kestrow --version failed"
[ "$out" = "kestrow $version" ] || fail "the unpacked kestrow --version printed \"$out\""
echo "unpacked: $out"
echo "package_test: passed"
