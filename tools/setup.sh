#!/usr/bin/env bash
# Installs what building needs, then configures and builds.
# Usage: tools/setup.sh [build-dir] [extra cmake arguments...]
#        tools/setup.sh --windows    the Windows screen saver, in build-win32
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" == "--windows" ]]; then
  tools/install.sh windows
  set -- build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DKELVORA_TESTS=OFF
else
  tools/install.sh program
fi
build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
