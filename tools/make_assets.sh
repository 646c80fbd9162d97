#!/usr/bin/env bash
# Redraws the pictures in assets/ with the committed generator.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh program >/dev/null
QT_QPA_PLATFORM=offscreen build/tools/assets/make_assets assets
