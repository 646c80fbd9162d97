#!/usr/bin/env bash
# Makes the README's pictures: the rain and the settings dialog, each run on
# a virtual display by tools/run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p docs
env -u DISPLAY tools/run.sh /S >/dev/null
env -u DISPLAY tools/run.sh /C >/dev/null
convert shots/kelvora-_S.png -resize 50% docs/rain.png
# The dialog is centred on the 1920 x 1080 screen: 361 x 202 pixels.
convert shots/kelvora-_C.png -crop 361x202+780+439 +repage docs/dialog.png
echo "docs/rain.png docs/dialog.png"
