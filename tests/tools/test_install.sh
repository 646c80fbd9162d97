#!/usr/bin/env bash
# cmake --install for one user (a prefix in the home) and system-wide (staged
# with DESTDIR): where the program, its link, its menu entry, the daemons'
# description and saver module, the icon and the manual page go; that the
# program keeps its settings beside itself when started through the link;
# that an install writes nothing into the build tree, and that one by a user
# who cannot write the tree completes.
# Usage: test_install.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_file() { [[ -f $1 ]] || fail "no $1"; }
expect_no() { [[ ! -e $1 ]] || fail "$1 should not be there"; }
expect_line() {  # expect_line FILE LINE
  grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2 (has: $(grep '^Exec=' "$1"))"
}
install_to() {  # install_to HOME PREFIX [DESTDIR]
  HOME=$1 DESTDIR=${3:-} cmake --install "$build" --prefix "$2" >/dev/null
}

# One user, staged first: nothing may land outside the prefix, and nothing
# is written into the build tree.
home="$scratch/home"
mkdir -p "$home"
touch "$scratch/before"
sleep 1  # file times in whole seconds on some file systems
install_to "$home" "$home/.local" "$scratch/user-stage"
# (Only the install rules' folder: other tests may write elsewhere meanwhile.)
written=$(find "$build/install" -newer "$scratch/before" -not -type d)
[[ -z $written ]] || fail "the install wrote into the build tree: $written"
staged="$scratch/user-stage$home/.local"
expect_file "$staged/libexec/kelvora/kelvora"
[[ $(readlink "$staged/bin/kelvora") == ../libexec/kelvora/kelvora ]] ||
  fail "bin/kelvora is not a link to ../libexec/kelvora/kelvora"
expect_line "$staged/share/applications/kelvora-settings.desktop" "Exec=\"$home/.local/bin/kelvora\" /C"
outside=$(cd "$scratch/user-stage" && find . -type f -not -path ".$home/*")
[[ -z $outside ]] || fail "a one-user install wrote outside its prefix: $outside"
expect_file "$staged/share/icons/hicolor/32x32/apps/kelvora.png"
expect_file "$staged/share/doc/kelvora/copyright"
[[ $(zcat "$staged/share/man/man6/kelvora.6.gz" 2>/dev/null | head -1) == .TH\ KELVORA\ 6* ]] ||
  fail "no manual page kelvora(6)"
expect_no "$staged/share/applications/screensavers"  # out of mate-screensaver's reach here
module="$staged/libexec/xsecurelock/saver_kelvora"
[[ -x $module ]] || fail "no executable saver module $module"
[[ -x $module ]] && grep -q '/\.\./kelvora/kelvora" /S$' "$module" ||
  fail "the saver module does not run ../kelvora/kelvora /S: $(tail -1 "$module")"
((failures == 0)) || exit 1

# Then for real: started through the link in bin, the program writes its
# first-run settings beside the real executable.
install_to "$home" "$home/.local"
"$home/.local/bin/kelvora" /P
expect_file "$home/.local/libexec/kelvora/kelvora.ini"
expect_no "$home/.local/bin/kelvora.ini"

# The module runs the program with /S from wherever the prefix is.
XSCREENSAVER_WINDOW=0x1fffff1 DISPLAY= "$home/.local/libexec/xsecurelock/saver_kelvora" \
  2>"$scratch/module-error" && fail "the saver module ran without a window to draw in"
grep -q "cannot open display\|names no window\|display" "$scratch/module-error" ||
  fail "the saver module did not reach the program: $(cat "$scratch/module-error")"

# System-wide: the daemon's settings tool gets its description of kelvora.
install_to "$home" /usr/local "$scratch/system"
expect_file "$scratch/system/usr/local/libexec/kelvora/kelvora"
expect_line "$scratch/system/usr/local/share/applications/kelvora-settings.desktop" \
  'Exec="/usr/local/bin/kelvora" /C'
xml="$scratch/system/usr/share/xscreensaver/config/kelvora.xml"
expect_file "$xml"
if [[ -f $xml ]]; then
  [[ $(xmllint --xpath 'string(/screensaver/@name)' "$xml") == kelvora ]] ||
    fail "$xml does not describe the program kelvora"
  # Undeclared, /S is dropped by the settings tool, and kelvora shows nothing.
  [[ $(xmllint --xpath 'string(/screensaver/command/@arg)' "$xml") == /S ]] ||
    fail "$xml does not declare the switch /S"
  grep -q 'kelvora /S' "$xml" || fail "$xml does not give the command line kelvora /S"
fi

# A prefix whose path needs quoting in the menu entry.
odd="$home/my \$apps"
install_to "$home" "$odd" "$scratch/odd"
expect_line "$scratch/odd$odd/share/applications/kelvora-settings.desktop" \
  "Exec=\"$home/my \\\$apps/bin/kelvora\" /C"

# A user who cannot write the build tree (a shared checkout): the install
# completes into their home, and the list of installed files, which
# cmake --install keeps in the build tree, goes beside the documentation.
if [[ $(id -u) -eq 0 ]] && command -v setpriv >/dev/null; then
  chmod 755 "$scratch"
  mkdir "$scratch/user-home"
  chown 65534:65534 "$scratch/user-home"
  touch "$scratch/before-shared"
  sleep 1
  user_prefix="$scratch/user-home/.local"
  setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$scratch/user-home" \
    cmake --install "$build" --prefix "$user_prefix" >"$scratch/user-log" 2>&1 ||
    fail "an install from a tree the user cannot write failed: $(tail -3 "$scratch/user-log")"
  expect_file "$user_prefix/libexec/kelvora/kelvora"
  [[ -L $user_prefix/bin/kelvora ]] || fail "no link $user_prefix/bin/kelvora"
  expect_file "$user_prefix/share/applications/kelvora-settings.desktop"
  listed="$user_prefix/share/doc/kelvora/install_manifest.txt"
  expect_file "$listed"
  if [[ -f $listed ]]; then
    # The list names every file the install made, itself included.
    made=$(cd / && find "$user_prefix" -not -type d | sort)
    [[ $(sort "$listed") == "$made" ]] ||
      fail "the list of installed files differs from what was installed: $(diff <(sort "$listed") <(echo "$made"))"
  fi
  [[ -z $(find "$build" -maxdepth 1 -newer "$scratch/before-shared" -name 'install_manifest*') ]] ||
    fail "the install by a user who cannot write the tree wrote its list there"
fi

((failures == 0)) && echo "install: all checks passed"
exit $((failures > 0))
