#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks, then configures and builds.
# Usage: tools/setup.sh [build-dir] [extra cmake arguments...]
#        tools/setup.sh --windows    the Windows screen saver, in build-win32
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev qt6-base-dev fonts-ipafont-gothic xvfb xdotool imagemagick
  g++-mingw-w64-x86-64 wine wine64 python3-fonttools libxcb1-dev libxcb-res0-dev pkgconf
  clang libclang-rt-14-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

if [[ "${1:-}" == "--windows" ]]; then
  set -- build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DKELVORA_TESTS=OFF
fi
build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
