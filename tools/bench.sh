#!/usr/bin/env bash
# Builds kelvora with its bench probes (in build-bench) and runs the bench:
# the settings reader on a 50 MB file beside grep, the rain on X, the rain
# on X covered by another window against an idle process, then the rain on
# a headless Wayland compositor; with --settings, --covered or --wayland
# that run alone, with --soak the long run.
# Usage: tools/bench.sh [--seconds N] [--runs N] [--against EARLIER-EXECUTABLE]
#        tools/bench.sh --settings [--runs N]
#        tools/bench.sh --covered [--seconds N] [--runs N]
#        tools/bench.sh --wayland [--seconds N] [--runs N]
#        tools/bench.sh --soak [--minutes N] [--width W] [--height H]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install.sh program bench
tools/setup.sh bench >/dev/null
case "${1:-}" in
  --soak)
    shift
    exec build-bench/tools/bench/soak "$@"
    ;;
  --settings)
    shift
    exec build-bench/tools/bench/settings_read "$@"
    ;;
  --covered)
    shift
    exec build-bench/tools/bench/covered_bench "$@"
    ;;
  --wayland)
    shift
    exec build-bench/tools/bench/wayland_bench "$@"
    ;;
esac
build-bench/tools/bench/settings_read
echo
build-bench/tools/bench/bench "$@"
echo
build-bench/tools/bench/covered_bench "$@"
echo
exec build-bench/tools/bench/wayland_bench "$@"
