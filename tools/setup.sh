#!/usr/bin/env bash
# Installs what building needs, then configures and builds one of the
# project's presets (CMakePresets.json).
# Usage: tools/setup.sh [preset] [extra cmake arguments...]
#   presets: default (program and tests, in build), program (in build, no
#   tests), windows (the .scr, in build-win32), asan, fuzz, bench
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
shift || true
# The program alone in a tree the tests configured keeps its tests.
if [[ "$preset" == program ]] && grep -qs '^KELVORA_TESTS:BOOL=ON' build/CMakeCache.txt; then
  preset=default
fi
case "$preset" in
  windows) tools/install.sh windows ;;
  fuzz) tools/install.sh program tests ;;
  *) tools/install.sh program ;;
esac
# ccache, where it is installed, keeps rebuilds of other trees short.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset "$preset" "${launcher[@]}" "$@" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
