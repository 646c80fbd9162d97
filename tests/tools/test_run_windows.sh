#!/usr/bin/env bash
# tools/run.sh --windows /S in a Wine prefix that does not exist yet, as on a
# fresh machine: the prefix is made on the virtual display, and the first
# run's picture shows rain across the screen.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'WINEPREFIX="$scratch/prefix" wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT

output=$(cd "$repo" && env -u DISPLAY WINEPREFIX="$scratch/prefix" tools/run.sh --windows /S)
echo "$output"
shot=$(sed -n 's/^Screenshot of .*: //p' <<<"$output")
[[ -f $shot ]] || { echo "FAIL: no screenshot"; exit 1; }
if grep -q "never drew\|ended without" <<<"$output"; then
  echo "FAIL: the first run drew nothing"
  exit 1
fi
# Rain in each of the screen's thirds, not a dialog or a corner.
failures=0
for third in 0 1 2; do
  lit=$(convert "$shot" -crop "640x1080+$((third * 640))+0" +repage \
    -channel R -separate -threshold 50% -format '%[fx:mean*w*h]' info:)
  if ((${lit%.*} < 200)); then
    echo "FAIL: third $third of the screen has $lit red pixels"
    failures=$((failures + 1))
  fi
done
((failures == 0)) && echo "run --windows: the first run rains across the screen"
exit $((failures > 0))
