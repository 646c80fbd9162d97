#!/usr/bin/env bash
# tools/install.sh on a machine where nothing is installed: each task asks
# apt-get for its own packages and no other task's.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$stubs/dpkg-query"
printf '#!/bin/sh\necho "$@" >>"%s/asked"\n' "$stubs" >"$stubs/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$stubs/sudo"
chmod +x "$stubs"/*

# The packages that apt-get is asked to install for these tasks.
asked_for() {
  rm -f "$stubs/asked"
  PATH="$stubs:$PATH" "$repo/tools/install.sh" "$@" 2>/dev/null
  grep -h '^install' "$stubs/asked" | tr ' ' '\n' | grep -v '^-' | grep -v '^install$' | sort
}

failures=0
expect() {  # expect DESCRIPTION yes|no PATTERN TASK...
  local description=$1 wanted=$2 pattern=$3
  shift 3
  local found=no
  asked_for "$@" | grep -Eq "$pattern" && found=yes
  if [[ $found != "$wanted" ]]; then
    echo "FAIL: $description (tasks: $*; asked for: $(asked_for "$@" | tr '\n' ' '))"
    failures=$((failures + 1))
  fi
}

# What tools/run.sh /S asks for on a machine without a display.
for pattern in '^wine' 'mingw' '^clang' 'libclang' 'gtest' 'xdotool'; do
  expect "the run asks for no $pattern" no "$pattern" program screenshot
done
for pattern in '^qt6-base-dev$' '^libxkbcommon-x11-dev$' '^libfreetype-dev$' '^libfontconfig-dev$' \
  '^xvfb$' '^imagemagick$' '^g\+\+$' '^cmake$' '^libwayland-dev$' '^wayland-protocols$' \
  '^libpixman-1-dev$' '^qt6-wayland$'; do
  expect "the run asks for $pattern" yes "$pattern" program screenshot
done
expect "the Windows build asks for no clang" no '^clang' windows
expect "the Windows build asks for mingw" yes 'mingw' windows
expect "the Windows build asks for wine" yes '^wine$' windows
for pattern in '^clang$' '^libclang-rt-dev$' '^libgtest-dev$' '^xdotool$' '^x11-utils$' \
  '^libxml2-utils$' '^xscreensaver$' '^mate-screensaver$' '^xsecurelock$' '^lintian$' '^sway$' \
  '^grim$' '^wtype$'; do
  expect "the tests ask for $pattern" yes "$pattern" tests
done
expect "the run asks for no compositor" no '^(sway|grim|wtype|xwayland)$' program screenshot
for pattern in '^sway$' '^xwayland$' '^libwayland-dev$' '^wayland-protocols$'; do
  expect "the bench asks for $pattern" yes "$pattern" bench
done
# The screen-saver daemon is the tests' alone, and never with its extra
# collections of display programs.
expect "the run asks for no xscreensaver" no 'xscreensaver' program screenshot
expect "the run asks for no compositor" no '^sway$' program screenshot
expect "the Windows build asks for no xscreensaver" no 'xscreensaver' windows
for pattern in 'screensaver' 'xsecurelock'; do
  expect "the package asks for no $pattern" no "$pattern" program package
done
expect "the package asks for dpkg-dev" yes '^dpkg-dev$' package
expect "no collection of display programs" no '^xscreensaver-(data-extra|gl)' \
  program screenshot windows tests bench
rm -f "$stubs/asked"
PATH="$stubs:$PATH" "$repo/tools/install.sh" tests 2>/dev/null
if ! grep -q -- '--no-install-recommends' "$stubs/asked"; then
  echo "FAIL: the tests' packages come with recommended packages"
  failures=$((failures + 1))
fi
# No package named after one compiler release where a default name exists.
expect "no versioned clang runtime" no 'libclang-rt-[0-9]' program screenshot windows tests bench
if PATH="$stubs:$PATH" "$repo/tools/install.sh" nonsense 2>/dev/null; then
  echo "FAIL: an unknown task is accepted"
  failures=$((failures + 1))
fi

((failures == 0)) || echo "$failures of the checks failed"
((failures == 0))
