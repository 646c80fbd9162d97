#!/usr/bin/env bash
# Makes the README's pictures: the rain and the settings dialog, of the Linux
# program and of the Windows screen saver under Wine, each run on a virtual
# display by tools/run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p docs
for flavour in "" --windows; do
  env -u DISPLAY tools/run.sh $flavour /S >/dev/null
  env -u DISPLAY tools/run.sh $flavour /C >/dev/null
done
convert shots/kelvora-_S.png -resize 50% docs/rain.png
convert shots/kelvora-windows-_S.png -resize 50% docs/rain-windows.png
# The dialog is centred on the 1920 x 1080 screen: 361 x 202 pixels.
convert shots/kelvora-_C.png -crop 361x202+780+439 +repage docs/dialog.png
convert shots/kelvora-windows-_C.png -crop 361x202+779+439 +repage docs/dialog-windows.png
echo "docs/rain.png docs/dialog.png docs/rain-windows.png docs/dialog-windows.png"
