#!/usr/bin/env bash
# The Windows setup under Wine, silently, as an administrator deploys it:
# /S puts kelvora.scr into System32 as the user's saver, with the licences,
# a Start-menu entry and an entry in Apps & features; the uninstaller that
# entry names, with /S, takes all of it away and keeps the user's settings.
# Wine's own reg answers for the registry. Runs in the prefix of WINEPREFIX.
# Usage: test_setup.sh DIST_DIR
set -euo pipefail
dist=$1
setups=("$dist"/kelvora-*-setup.exe)
setup=${setups[0]}
version=${setup##*/kelvora-}
version=${version%-setup.exe}
drive=$WINEPREFIX/drive_c
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kelvora'
desktop_key='HKCU\Control Panel\Desktop'
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/kelvora settings.lnk"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$dist/kelvora-$version-windows-x64.zip" kelvora.scr -d "$scratch"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# A value's data, as Windows' reg prints it; empty when there is none.
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
run() {
  wine "$@" || fail "$* ended with status $?"
  wineserver -w  # the uninstaller goes on in a copy of itself
}

local_appdata=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")
settings=("$drive/windows/system32/kelvora.ini" "$local_appdata/kelvora/kelvora.ini")
mkdir -p "$local_appdata/kelvora"
for file in "${settings[@]}"; do printf '[main]\r\nSP=200\r\n' >"$file"; done

run "$setup" /S
cmp -s "$drive/windows/system32/kelvora.scr" "$scratch/kelvora.scr" ||
  fail "System32 does not hold the zip's kelvora.scr"
[[ ! -e $drive/windows/syswow64/kelvora.scr ]] || fail "the 32-bit System32 got the saver"
chosen=$(value "$desktop_key" SCRNSAVE.EXE)
[[ ${chosen,,} == 'c:\windows\system32\kelvora.scr' ]] || fail "the chosen saver is '$chosen'"
[[ -s $shortcut ]] || fail "no Start-menu entry"
for file in LICENSE.txt IPA_Font_License_Agreement_v1.0.txt kelvora-glyphs.ttf \
  kelvora-glyphs-notice.txt; do
  [[ -s "$drive/Program Files/kelvora/$file" ]] || fail "no $file"
done
[[ $(value "$uninstall_key" DisplayName) == kelvora ]] || fail "not in Apps & features"
[[ $(value "$uninstall_key" DisplayVersion) == "$version" ]] || fail "no version in Apps & features"
quiet=$(value "$uninstall_key" QuietUninstallString)
[[ $quiet == *' /S' ]] || fail "the silent uninstall is '$quiet'"

# What Apps & features runs: the registered uninstaller.
uninstaller=$(value "$uninstall_key" UninstallString)
run "${uninstaller//\"/}" /S
[[ ! -e $drive/windows/system32/kelvora.scr ]] || fail "the uninstall left kelvora.scr"
[[ ! -e "$drive/Program Files/kelvora" ]] || fail "the uninstall left its folder"
[[ ! -e $shortcut ]] || fail "the uninstall left the Start-menu entry"
[[ -z $(value "$desktop_key" SCRNSAVE.EXE) ]] || fail "the uninstall left the chosen saver"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstall left its Apps & features entry"
for file in "${settings[@]}"; do
  [[ $(cat "$file" 2>/dev/null) == $'[main]\r\nSP=200\r' ]] || fail "the uninstall took $file"
  rm -f "$file"
done

((failures == 0)) && echo "setup: a silent install and uninstall under Wine"
exit $((failures > 0))
