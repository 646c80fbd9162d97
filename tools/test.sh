#!/usr/bin/env bash
# Builds kelvora for Linux and for Windows, and its tests, and runs every
# test (the Windows build's under Wine); then the tests without a display
# again, built with AddressSanitizer and UndefinedBehaviorSanitizer, and the
# fuzz targets over their corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
# The Windows screen saver first: its tests run under Wine with the rest.
tools/setup.sh --windows
tools/setup.sh build -DKELVORA_SCR="$PWD/build-win32/startup/kelvora.scr" \
  -DKELVORA_PROFILE_PROBE="$PWD/build-win32/tools/profile_probe/profile_probe.exe"
tools/setup.sh build-asan -DKELVORA_SANITIZE=ON
tools/setup.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKELVORA_FUZZ=ON
for build_dir in build build-asan build-fuzz; do
  ctest --test-dir "$build_dir" -j "$(nproc)" --output-on-failure --timeout 300
done
