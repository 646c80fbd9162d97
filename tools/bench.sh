#!/usr/bin/env bash
# Builds kelvora with its bench probes (in build-bench) and runs the bench,
# or with --soak the long run.
# Usage: tools/bench.sh [--seconds N] [--runs N]
#        tools/bench.sh --soak [--minutes N] [--width W] [--height H]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install.sh program bench
tools/setup.sh build-bench -DKELVORA_BENCH_PROBES=ON -DKELVORA_TESTS=OFF >/dev/null
if [[ "${1:-}" == "--soak" ]]; then
  shift
  exec build-bench/tools/bench/soak "$@"
fi
build-bench/tools/bench/settings_read
exec build-bench/tools/bench/bench "$@"
