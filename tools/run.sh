#!/usr/bin/env bash
# Builds kelvora and runs it with the given switch, e.g. tools/run.sh /S.
# With --windows first, the Windows screen saver runs under Wine instead.
# With no display it runs on a virtual one until it has drawn, saves a
# screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
launch=()
flavour=""
if [[ "${1:-}" == "--windows" ]]; then
  shift
  tools/setup.sh windows >/dev/null
  launch=(wine "$PWD/build-win32/startup/kelvora.scr")
  flavour="-windows"
  export WINEPREFIX="${WINEPREFIX:-$PWD/build-win32/wine-prefix}" WINEDEBUG=-all
else
  tools/setup.sh program >/dev/null
  launch=("$PWD/build/startup/kelvora")
fi

# A new Wine prefix is made on the display the program will use, and only
# once its first session has ended: made without a display, its first run
# drew nothing.
make_wine_prefix() {
  [[ -n "$flavour" && ! -d "$WINEPREFIX" ]] || return 0
  wineboot -i >/dev/null 2>&1
  wineserver -w
}

if [[ -n "${DISPLAY:-}" ]]; then
  make_wine_prefix
  exec "${launch[@]}" "$@"
fi

tools/install.sh screenshot
mkdir -p shots
name=$(printf '%s' "${1:-none}" | tr -c 'A-Za-z0-9' '_')
shot="$PWD/shots/kelvora$flavour-$name.png"
number_file=$(mktemp)
runtime_dir=$(mktemp -d) # Qt wants one; a bare machine may not have it
trap 'rm -rf "$number_file" "$runtime_dir"' EXIT
export XDG_RUNTIME_DIR="$runtime_dir"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset -ac 3>"$number_file" \
  >/dev/null 2>&1 &
server=$!
until [[ -s "$number_file" ]]; do sleep 0.1; done
export DISPLAY=":$(tr -d '\n' <"$number_file")"
make_wine_prefix
"${launch[@]}" "$@" &
saver=$!

# Waits for the first drawn pixel (the first frame of rain, or the dialog);
# a new Wine prefix can take long to start, so the bound is generous.
drawn() { [[ "$(convert "$shot" -format '%[fx:maxima>0]' info:)" == 1 ]]; }
outcome="never drew anything"
for ((tries = 0; tries < 600; tries++)); do
  if ! kill -0 "$saver" 2>/dev/null; then
    outcome="ended without drawing anything"
    break
  fi
  import -window root "$shot"
  if drawn; then
    outcome=""
    break
  fi
  sleep 0.2
done
# The rain's first row is narrow and the full-screen row follows it, which
# under Wine can take a while: /S waits (within a bound) until the rain
# reaches the screen's right third; anything else gets a moment.
reaches_right() {
  [[ "$(convert "$shot" -crop 640x1080+1280+0 -format '%[fx:maxima>0]' info:)" == 1 ]]
}
if [[ -z "$outcome" ]]; then
  if [[ "${1:-}" == [/-][sS] ]]; then
    for ((tries = 0; tries < 300; tries++)); do
      import -window root "$shot"
      reaches_right && break
      sleep 0.2
    done
  fi
  sleep 2
  import -window root "$shot"
fi
[[ -f "$shot" ]] || import -window root "$shot"
kill "$saver" 2>/dev/null || true
kill "$server"
wait 2>/dev/null || true
[[ -z "$outcome" ]] || echo "kelvora $* $outcome; the screenshot shows the empty screen."
echo "Screenshot of kelvora $* on a virtual display: $shot"
