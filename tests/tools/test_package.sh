#!/usr/bin/env bash
# tools/package.sh makes one .deb that a distribution would take: lintian
# --pedantic -I says nothing, the files are where the screen-saver daemons,
# menus and software centres look for them, the licences are there, and the
# dependencies hold the libraries of the Qt and Wayland modules inside the
# program and Qt's Wayland plugin. The package is left in DIST_DIR for the
# daemon tests.
# Usage: test_package.sh BUILD_DIR DIST_DIR
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
dist=$2
rm -rf "$dist"
"$repo/tools/package.sh" deb "$build" "$dist" >/dev/null

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
debs=("$dist"/kelvora_*_amd64.deb)
((${#debs[@]} == 1)) || fail "not one package: ${debs[*]}"
deb=${debs[0]}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

said=$(lintian --pedantic -I "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[[ -z $said ]] || fail "lintian --pedantic -I: $said"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/libexec/xscreensaver/kelvora ./usr/bin/kelvora \
  ./usr/share/xscreensaver/config/kelvora.xml ./usr/share/applications/screensavers/kelvora.desktop \
  ./usr/libexec/xsecurelock/saver_kelvora ./usr/share/applications/kelvora-settings.desktop \
  ./usr/share/man/man6/kelvora.6.gz ./usr/share/doc/kelvora/copyright \
  ./usr/share/kelvora/kelvora-glyphs.ttf ./usr/share/doc/kelvora/kelvora-glyphs-notice.txt; do
  grep -qxF "$path" <<<"$files" || fail "the package lacks $path"
done

# Menus find the icon by name, in the sizes they ask for.
for entry in kelvora-settings.desktop screensavers/kelvora.desktop; do
  grep -qx 'Icon=kelvora' "$tree/usr/share/applications/$entry" || fail "$entry: no Icon=kelvora"
done
for size in 16 24 32 48 64 128 256; do
  png=$tree/usr/share/icons/hicolor/${size}x$size/apps/kelvora.png
  [[ $(identify -format '%wx%h' "$png" 2>/dev/null) == "${size}x$size" ]] ||
    fail "no ${size}x$size icon"
done
metainfo=("$tree"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfo[@]}" >/dev/null || fail "the metainfo does not validate"
man=$(zcat "$tree/usr/share/man/man6/kelvora.6.gz")
for name in WAYLAND_DISPLAY DISPLAY XSCREENSAVER_WINDOW XDG_CONFIG_HOME kelvora.ini 'EXIT STATUS'; do
  grep -qF "$name" <<<"$man" || fail "the manual page does not name $name"
done

# The licences: MIT for kelvora, the IPA Font License for the glyphs, which
# carry no name of the font they were cut from.
copyright=$tree/usr/share/doc/kelvora/copyright
grep -qx 'License: Expat' "$copyright" || fail "copyright: no Expat licence"
grep -A5 '^Files: usr/share/kelvora/kelvora-glyphs.ttf' "$copyright" | grep -qx 'License: IPA-1' ||
  fail "copyright: no IPA stanza for the glyphs"
grep -q 'Article 3 (Restriction)' "$copyright" || fail "copyright: not the IPA licence's text"
names=$(fc-scan -f '%{family}|%{fullname}|%{postscriptname}' "$tree/usr/share/kelvora/kelvora-glyphs.ttf")
[[ $names == 'Kelvora Glyphs|Kelvora Glyphs|KelvoraGlyphs-Regular' ]] || fail "the glyphs are named $names"

# Debian's build flags: bound at load, and no compiler's .comment.
program=$tree/usr/libexec/xscreensaver/kelvora
readelf -d "$program" | grep -q 'BIND_NOW' || fail "the program is not bound at load"
! readelf -S "$program" | grep -q '\.comment' || fail "the program keeps a .comment section"

# Qt Widgets, libwayland-client and pixman are linked by the modules alone,
# which the executable carries.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libwayland-client0 libpixman-1-0 libxcb1 libc6 qt6-wayland; do
  [[ $(grep -o "\b$package\b" <<<"$depends" | wc -l) == 1 ]] ||
    fail "Depends names $package other than once: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == 'fonts-ipafont-gothic | fonts-noto-cjk' ]] ||
  fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"

((failures == 0)) && echo "package: all checks passed"
exit $((failures > 0))
