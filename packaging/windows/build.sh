#!/usr/bin/env bash
# Builds the Windows edition here: a static Qt for MinGW (built once into a cache, see
# build-qt.sh), then kemurin.exe and the core test programs in build-windows/build, and the
# portable zip build-windows/kemurin-<version>-win64.zip.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/build-windows"
bash "$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix dpkg-dev xz-utils zip qt6-translations-l10n \
    icoutils

qt="$(bash "$here/build-qt.sh")"
echo "build: Qt for Windows in $qt"

# Qt's toolchain file adds its own prefix to the search root and loads ours. The tests are
# discovered when they run, under Wine (test-wine.sh).
cmake -S "$root" -B "$out/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/mingw-toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DKEMURIN_WERROR=ON -DKEMURIN_BENCHMARKS=ON \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$out/build"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")"
name="kemurin-$version"
stage="$out/stage/$name"
rm -rf "$out/stage" "$out/$name-win64.zip"
mkdir -p "$stage"
cp "$out/build/src/kemurin.exe" "$stage/"
x86_64-w64-mingw32-strip "$stage/kemurin.exe"
# Notepad reads UTF-8 with its mark and CR LF on every Windows.
to_windows_text() { printf '\xEF\xBB\xBF'; sed "s/@VERSION@/$version/g; s/\$/\r/" "$1"; }
to_windows_text "$here/readme.txt" >"$stage/readme.txt"
to_windows_text "$here/license.txt" >"$stage/license.txt"
# The notices that Qt's licence and those of the parts inside it ask to travel with the program:
# the full LGPL 3 and the GPL 3 it builds on, and each bundled part's own text (license.txt
# names them).
mkdir "$stage/licenses"
for text in /usr/share/common-licenses/LGPL-3 /usr/share/common-licenses/GPL-3 "$here"/licenses/*.txt; do
    to_windows_text "$text" >"$stage/licenses/$(basename "$text" .txt).txt"
done
(cd "$out/stage" && zip -q -r -X "$out/$name-win64.zip" "$name")
echo "build: $out/$name-win64.zip"
