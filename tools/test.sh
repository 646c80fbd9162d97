#!/usr/bin/env bash
# Builds kelvora and its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh build
ctest --test-dir build -j "$(nproc)" --output-on-failure --timeout 300
