#!/usr/bin/env bash
# Builds kelvora with its bench probes (in build-bench) and runs the bench.
# Usage: tools/bench.sh [--seconds N] [--runs N]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh build-bench -DKELVORA_BENCH_PROBES=ON -DKELVORA_TESTS=OFF >/dev/null
exec build-bench/tools/bench/bench "$@"
