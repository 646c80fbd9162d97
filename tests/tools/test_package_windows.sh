#!/usr/bin/env bash
# tools/package.sh windows makes the zip and the setup: the zip holds the
# stripped .scr (at most 2 MB, with its version information and an icon of
# four sizes), the licences, the glyphs and a read-me. Both are left in
# DIST_DIR for the setup's test under Wine.
# Usage: test_package_windows.sh BUILD_DIR DIST_DIR
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
dist=$2
rm -rf "$dist"
"$repo/tools/package.sh" windows "$build" "$dist" >/dev/null

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
version=$(sed -n 's/^project(kelvora VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
[[ -s $dist/kelvora-$version-setup.exe ]] || fail "no setup"
zip=$dist/kelvora-$version-windows-x64.zip
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
unzip -q "$zip" -d "$tree" || fail "no zip"

listed=$(cd "$tree" && ls | tr '\n' ' ')
[[ $listed == 'IPA_Font_License_Agreement_v1.0.txt LICENSE.txt README.txt kelvora-glyphs-notice.txt kelvora-glyphs.ttf kelvora.scr ' ]] ||
  fail "the zip holds: $listed"
scr=$tree/kelvora.scr
(($(stat -c %s "$scr") <= 2 * 1024 * 1024)) || fail "kelvora.scr is $(stat -c %s "$scr") bytes"
! x86_64-w64-mingw32-objdump -h "$scr" | grep -q '\.debug' || fail "kelvora.scr is not stripped"
grep -q 'MIT License' "$tree/LICENSE.txt" || fail "no MIT licence"
grep -q 'Article 3 (Restriction)' "$tree/IPA_Font_License_Agreement_v1.0.txt" || fail "no IPA licence"
grep -q 'right-click\|Right-click' "$tree/README.txt" || fail "the read-me says nothing of Install"
[[ $(head -c 200 "$tree/README.txt") == *$'\r'* ]] || fail "the read-me lacks Windows' line ends"

# Explorer's icon: the first icon group, with 16, 32, 48 and 256 pixels.
first_group=$(wrestool -l -t14 "$scr" | head -1 | sed -n "s/.*--name='\?\([^' ]*\)'\? .*/\1/p")
wrestool -x -t14 --name="$first_group" "$scr" >"$tree/explorer.ico"
sizes=$(icotool -l "$tree/explorer.ico" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | tr '\n' ' ')
[[ $sizes == '16 32 48 256 ' ]] || fail "Explorer's icon has images of $sizes"
# Properties > Details: the version information, as UTF-16 text.
details=$(wrestool -x --raw -t16 "$scr" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' '\n')
for value in "$version" 'kelvora screen saver' 'The kelvora developers' 'MIT'; do
  grep -qF "$value" <<<"$details" || fail "the version information lacks '$value'"
done

((failures == 0)) && echo "windows package: all checks passed"
exit $((failures > 0))
