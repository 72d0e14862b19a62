#!/usr/bin/env bash
# Sets up, builds in Release and starts the program in the current directory.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEMURIN_TESTS=OFF >/dev/null
cmake --build "$here/build-release"
exec "$here/build-release/src/kemurin"
