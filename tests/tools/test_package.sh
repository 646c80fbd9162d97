#!/usr/bin/env bash
# tools/package.sh makes one .deb that lintian accepts (when installed), with
# the files where the screen-saver daemons look for them and the libraries
# of the Qt module inside the program among its dependencies. The package is
# left in DIST_DIR for the daemon tests.
# Usage: test_package.sh BUILD_DIR DIST_DIR
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
dist=$2
rm -rf "$dist"
"$repo/tools/package.sh" "$build" "$dist" >/dev/null

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
debs=("$dist"/kelvora_*_amd64.deb)
((${#debs[@]} == 1)) || fail "not one package: ${debs[*]}"
deb=${debs[0]}

if command -v lintian >/dev/null; then
  errors=$(lintian "$deb" 2>/dev/null | grep '^E:' || true)
  [[ -z $errors ]] || fail "lintian: $errors"
fi

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/libexec/xscreensaver/kelvora ./usr/bin/kelvora \
  ./usr/share/xscreensaver/config/kelvora.xml ./usr/share/applications/screensavers/kelvora.desktop \
  ./usr/libexec/xsecurelock/saver_kelvora ./usr/share/applications/kelvora-settings.desktop \
  ./usr/share/icons/hicolor/32x32/apps/kelvora.png ./usr/share/man/man6/kelvora.6.gz \
  ./usr/share/doc/kelvora/copyright; do
  grep -qxF "$path" <<<"$files" || fail "the package lacks $path"
done

# Qt Widgets is linked by the module alone, which the executable carries.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libxcb1 libc6; do
  [[ $(grep -o "\b$package\b" <<<"$depends" | wc -l) == 1 ]] ||
    fail "Depends names $package other than once: $depends"
done

((failures == 0)) && echo "package: all checks passed"
exit $((failures > 0))
