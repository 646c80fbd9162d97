#!/usr/bin/env bash
# Builds the Debian package, dist/kelvora_<version>_amd64.deb, with CPack:
# the program where the X screen-saver daemons look for it
# (/usr/libexec/xscreensaver), the daemons' descriptions, the menu entry,
# icon and manual page. Install it with: apt install ./dist/kelvora_*.deb
# Usage: tools/package.sh [BUILD_DIR [DIST_DIR]]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install.sh program package
build=${1:-build-package}
dist=${2:-dist}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELVORA_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DKELVORA_PROGRAM_DIR=libexec/xscreensaver \
  -DKELVORA_PACKAGED=ON \
  -DKELVORA_MATE_THEME=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack >/dev/null)
mkdir -p "$dist"
deb=$(cd "$build" && ls kelvora_*_amd64.deb)
cp "$build/$deb" "$dist/"
echo "$dist/$deb"
