#!/usr/bin/env bash
# Installs the Debian packages that the named tasks need and this machine
# lacks; nothing more.
# Usage: tools/install.sh TASK...
#   program     build and run the Linux program
#   screenshot  a virtual display and a picture of it
#   windows     cross-build the Windows screen saver and run it under Wine
#   tests       what the test command builds and runs, beyond the above: the
#               X screen-saver daemon alone, without recommended packages
#   bench       the bench and the soak, beyond the program
set -euo pipefail

declare -A task_packages=(
  [program]="cmake make g++ pkgconf qt6-base-dev libxcb1-dev libxcb-render0-dev libxcb-xkb-dev libxkbcommon-x11-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic python3-fonttools"
  [screenshot]="xvfb imagemagick"
  [windows]="cmake make g++-mingw-w64-x86-64 python3-fonttools fontconfig fonts-ipafont-gothic wine wine64"
  [tests]="libgtest-dev xvfb xdotool x11-utils libxml2-utils imagemagick clang libclang-rt-dev xscreensaver"
  [bench]="xvfb xdotool libxcb-res0-dev"
)

packages=()
for task in "$@"; do
  [[ -v "task_packages[$task]" ]] || { echo "tools/install.sh: unknown task '$task'" >&2; exit 2; }
  read -ra more <<<"${task_packages[$task]}"
  packages+=("${more[@]}")
done

missing=()
for package in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
((${#missing[@]})) || exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
