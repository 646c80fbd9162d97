#!/usr/bin/env bash
# Builds what users download into dist/.
#   deb (the default): dist/kelvora_<version>_amd64.deb, made by CPack with
#     Debian's compile and link flags (dpkg-buildflags); install it with
#     apt install ./dist/kelvora_*.deb
#   windows: dist/kelvora-<version>-windows-x64.zip (the stripped .scr, the
#     licences and a read-me) and dist/kelvora-<version>-setup.exe (NSIS).
# Usage: tools/package.sh [deb|windows] [BUILD_DIR [DIST_DIR]]
set -euo pipefail
cd "$(dirname "$0")/.."
kind=deb
if [[ ${1:-} == deb || ${1:-} == windows ]]; then
  kind=$1
  shift
fi
dist=${2:-dist}
version=$(sed -n 's/^project(kelvora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

package_deb() {
  local build=${1:-build-package}
  tools/install.sh program package
  # Debian's flags, hardening included; CMake reads no CPPFLAGS of its own.
  local CFLAGS CPPFLAGS CXXFLAGS LDFLAGS
  eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELVORA_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" -DCMAKE_MODULE_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_INSTALL_PREFIX=/usr -DKELVORA_PROGRAM_DIR=libexec/xscreensaver \
    -DKELVORA_PACKAGED=ON -DKELVORA_MATE_THEME=ON >/dev/null
  cmake --build "$build" -j "$(nproc)"
  (cd "$build" && cpack >/dev/null)
  mkdir -p "$dist"
  local deb
  deb=$(cd "$build" && ls kelvora_*_amd64.deb)
  cp "$build/$deb" "$dist/"
  echo "$dist/$deb"
}

package_windows() {
  local build=${1:-build-package-win32}
  tools/install.sh windows
  cmake -S . -B "$build" --toolchain "$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKELVORA_TESTS=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)" --target kelvora
  local stage=$build/windows-package
  rm -rf "$stage"
  mkdir -p "$stage" "$dist"
  x86_64-w64-mingw32-strip -o "$stage/kelvora.scr" "$build/startup/kelvora.scr"
  cp "$build/kelvora-glyphs.ttf" "$stage/"
  # Texts with Windows' line ends.
  local from to
  for from in LICENSE:LICENSE.txt install/windows/README.txt:README.txt \
    install/kelvora-glyphs-notice.txt:kelvora-glyphs-notice.txt \
    install/IPA_Font_License_Agreement_v1.0.txt:IPA_Font_License_Agreement_v1.0.txt; do
    to=${from#*:}
    sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "${from%%:*}" >"$stage/$to"
  done
  local zip setup
  zip=$(realpath "$dist")/kelvora-$version-windows-x64.zip
  setup=$(realpath "$dist")/kelvora-$version-setup.exe
  rm -f "$zip" "$setup"
  # The files dated as the last commit: the same sources give the same archive.
  touch -d "@${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}" "$stage"/*
  (cd "$stage" && TZ=UTC zip -X -q "$zip" ./*)
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" \
    -DICON="$PWD/assets/kelvora-program.ico" -DOUTFILE="$setup" install/windows/kelvora.nsi
  echo "$dist/${zip##*/}"
  echo "$dist/${setup##*/}"
}

"package_$kind" "${1:-}"
