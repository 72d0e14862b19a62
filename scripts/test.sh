#!/usr/bin/env bash
# Sets up, checks the desktop entry and AppStream metadata, builds and runs every test, then does
# it again under AddressSanitizer and UBSan, then fuzzes the readers of outside bytes for a short
# while (KEMURIN_FUZZ_SECONDS a target, 30 unless set), then cross-builds the Windows edition and
# runs its tests under Wine (the static Qt for it is built once into a cache: about 35 minutes).
# Window tests run against a real X server (Xvfb).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"

echo "== Include direction =="
bash "$here/scripts/check-layers.sh"

echo "== Desktop entry, AppStream metadata =="
desktop-file-validate "$here/packaging/kemurin.desktop"
appstreamcli validate --no-net --pedantic --strict "$here/packaging/jp.example.kemurin.metainfo.xml"

run_suite() {
    local dir="$1"
    shift
    cmake -S "$here" -B "$dir" -G Ninja -DKEMURIN_WERROR=ON "$@" >/dev/null
    cmake --build "$dir"
    (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --output-on-failure --timeout 120)
}

echo "== Debug build =="
run_suite "$here/build-test" -DCMAKE_BUILD_TYPE=Debug
echo "== AddressSanitizer + UBSan build =="
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$here/tests/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKEMURIN_SANITIZE=ON
echo "== Fuzzing =="
bash "$here/scripts/fuzz.sh" "${KEMURIN_FUZZ_SECONDS:-30}"
echo "== Windows edition: MinGW build, tests under Wine =="
bash "$here/packaging/windows/build.sh"
bash "$here/packaging/windows/test-wine.sh" "$here/build-test/src/kemurin"
