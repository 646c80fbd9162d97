#!/usr/bin/env bash
# Builds kelvora for Linux and for Windows, and its tests, and runs every
# test (the Windows build's under Wine); then the tests without a display
# again, built with AddressSanitizer and UndefinedBehaviorSanitizer, and the
# fuzz targets over their corpus. Every suite runs even when another fails;
# the end says which failed.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install.sh program windows tests || exit 1

failed=()
# Runs one step; a failure is remembered and the next step still runs.
step() {
  local name=$1
  shift
  echo "=== $name"
  "$@" || failed+=("$name")
}

# The Windows screen saver first: its tests run under Wine with the rest.
step "build-win32" tools/setup.sh windows
step "build" tools/setup.sh default \
  -DKELVORA_SCR="$PWD/build-win32/startup/kelvora.scr" \
  -DKELVORA_PROFILE_PROBE="$PWD/build-win32/tools/profile_probe/profile_probe.exe"
step "build-asan" tools/setup.sh asan
step "build-fuzz" tools/setup.sh fuzz
for build_dir in build build-asan build-fuzz; do
  if [[ -f "$build_dir/CTestTestfile.cmake" ]]; then
    step "tests in $build_dir" ctest --test-dir "$build_dir" -j "$(nproc)" --output-on-failure \
      --timeout 600
  else
    failed+=("tests in $build_dir (not built)")
  fi
done

if ((${#failed[@]})); then
  printf 'FAILED: %s\n' "${failed[@]}"
  exit 1
fi
echo "All suites passed."
