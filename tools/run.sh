#!/usr/bin/env bash
# Builds kelvora and runs it with the given switch, e.g. tools/run.sh /S.
# With no display it runs on a virtual one for a few seconds and saves a
# screenshot, printing its path.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh build >/dev/null
exe="$PWD/build/startup/kelvora"

if [[ -n "${DISPLAY:-}" ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  exec "$exe" "$@"
fi

mkdir -p shots
name=$(printf '%s' "${1:-none}" | tr -c 'A-Za-z0-9' '_')
shot="$PWD/shots/kelvora-$name.png"
number_file=$(mktemp)
runtime_dir=$(mktemp -d)  # Qt wants one; a bare machine may not have it
trap 'rm -rf "$number_file" "$runtime_dir"' EXIT
export XDG_RUNTIME_DIR="$runtime_dir"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset -ac 3>"$number_file" \
  >/dev/null 2>&1 &
server=$!
until [[ -s "$number_file" ]]; do sleep 0.1; done
export DISPLAY=":$(tr -d '\n' <"$number_file")"
"$exe" "$@" &
saver=$!
sleep 4
import -window root "$shot"
kill "$saver" 2>/dev/null || true
kill "$server"
wait 2>/dev/null || true
echo "Screenshot of kelvora $* on a virtual display: $shot"
