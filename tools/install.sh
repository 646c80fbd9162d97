#!/usr/bin/env bash
# Installs the Debian packages that the named tasks need and this machine
# lacks; nothing more.
# Usage: tools/install.sh TASK...
#   program     build and run the Linux program
#   screenshot  a virtual display and a picture of it
#   windows     cross-build the Windows screen saver, run it under Wine and
#               package it (a zip archive and an NSIS setup)
#   package     the Debian package, beyond the program
#   tests       what the test command builds and runs, beyond the above: the
#               X screen-saver daemons and lockers alone, without recommended
#               packages, a nested X server, a mock of logind for xss-lock,
#               lintian, appstream and icoutils to check the packages, a
#               headless Wayland compositor with its screenshot and typing
#               tools, and the accessibility bus with its Python reader
#   bench       the bench and the soak, beyond the program; the Wayland run
#               with Xwayland and a wl_shm reference client
set -euo pipefail

declare -A task_packages=(
  [program]="cmake make g++ pkgconf qt6-base-dev libxcb1-dev libxcb-render0-dev libxcb-randr0-dev libxcb-xkb-dev libxkbcommon-x11-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic libwayland-dev wayland-protocols libpixman-1-dev qt6-wayland python3-fonttools"
  [screenshot]="xvfb imagemagick"
  [windows]="cmake make g++-mingw-w64-x86-64 python3-fonttools fontconfig fonts-ipafont-gothic wine wine64 nsis zip"
  [package]="dpkg-dev file"
  [tests]="libgtest-dev libxcb-xfixes0-dev xvfb xdotool x11-utils x11-xserver-utils i3lock xss-lock xserver-xephyr dbus-daemon dbus-bin python3-dbusmock libxml2-utils imagemagick clang libclang-rt-dev xscreensaver mate-screensaver xsecurelock lintian dpkg-dev file sway grim wtype swayidle swaylock wayvnc at-spi2-core python3-gi gir1.2-atspi-2.0 appstream icoutils unzip"
  [bench]="xvfb xdotool libxcb-res0-dev sway xwayland libwayland-dev wayland-protocols"
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
