#!/usr/bin/env bash
# Installs what running needs, builds in Release (no tests, no benchmarks) and starts the program
# in the current directory.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh" --run
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEMURIN_TESTS=OFF \
    -DKEMURIN_BENCHMARKS=OFF >/dev/null
cmake --build "$here/build-release"
exec "$here/build-release/src/kemurin"
