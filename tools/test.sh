#!/usr/bin/env bash
# Builds kelvora for Linux and for Windows, and its tests, and runs every
# test (the Windows build's under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
# The Windows screen saver first: its tests run under Wine with the rest.
tools/setup.sh --windows
tools/setup.sh build -DKELVORA_SCR="$PWD/build-win32/startup/kelvora.scr" \
  -DKELVORA_PROFILE_PROBE="$PWD/build-win32/tools/profile_probe/profile_probe.exe"
ctest --test-dir build -j "$(nproc)" --output-on-failure --timeout 300
