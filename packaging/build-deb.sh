#!/usr/bin/env bash
# Builds the Debian package in Release with Debian's hardening flags, then checks it with
# lintian, which fails on errors only. The package lands in build-pkg/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-pkg"
bash "$here/scripts/setup.sh" --run dpkg-dev lintian

# The flags a package built by Debian gets: fortified functions, stack protector, read-only
# relocations. -ffile-prefix-map maps the source folder, which is where this runs from.
cd "$here"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now"

# CPack installs under /usr whatever CMAKE_INSTALL_PREFIX says.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEMURIN_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build"
rm -f "$build"/kemurin_*.deb
(cd "$build" && cpack -G DEB)

deb="$(ls "$build"/kemurin_*.deb)"
echo "== lintian $deb =="
lintian --fail-on error --display-info "$deb"
echo "Install it with: sudo apt-get install $deb"
