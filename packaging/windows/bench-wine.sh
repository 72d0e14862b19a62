#!/usr/bin/env bash
# Size of the Windows edition, and its start-up under Wine against a bare static Qt program
# built alike, taken in turn in the same rounds: wall time from launch to the first paint, and
# peak working set there. Prints table rows for bench/RESULTS.md.
#   bench-wine.sh [RUNS]     (default 20; after build.sh)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/build-windows"
runs="${1:-20}"

if [ -z "${KEMURIN_UNDER_XVFB:-}" ]; then
    bash "$root/scripts/setup.sh" wine64 xvfb xauth
    exec env KEMURIN_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        bash "${BASH_SOURCE[0]}" "$@"
fi
. "$root/bench/common.sh"

export WINEPREFIX="$out/wine-bench" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
# Debian keeps it out of the PATH.
wineserver=/usr/lib/wine/wineserver
bench="$out/build/bench/startup_bench.exe"
work="$(mktemp -d)"
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
# One wineserver for every start, as on Windows, where the system is up before any program.
mkdir -p "$WINEPREFIX"
"$wineserver" -p
timeout 300 "$wine" wineboot >/dev/null 2>&1 </dev/null
write_started_settings "$work/program" 0
mkdir -p "$work/bare"

start_once() {
    local what="$1" start end kib
    start=${EPOCHREALTIME/./}
    kib=$(cd "$work/$what" && "$wine" "$bench" "$what" 2>/dev/null | tr -d '\r') || true
    end=${EPOCHREALTIME/./}
    [[ "$kib" =~ ^[0-9]+$ ]] || { echo "startup_bench.exe $what reached no first paint" >&2; exit 1; }
    echo "$(((end - start) / 1000)) $kib" >>"$work/$what.txt"
}
for what in bare program; do start_once "$what"; : >"$work/$what.txt"; done
for ((i = 0; i < runs; i++)); do
    for what in bare program; do start_once "$what"; done
done

ms() { cut -d' ' -f1 "$work/$1.txt" | median; }
mib() { cut -d' ' -f2 "$work/$1.txt" | median | awk '{printf "%.1f", $1 / 1024}'; }
size_mib() { awk -v b="$(stat -c %s "$1")" 'BEGIN {printf "%.2f", b / 1048576}'; }
ratio="$(awk -v p="$(ms program)" -v b="$(ms bare)" 'BEGIN {printf "%.2f", p / b}')"
exe="$out/stage/kemurin-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")/kemurin.exe"
zip="$(ls "$out"/kemurin-*-win64.zip)"
echo "| kemurin.exe, stripped | size | $(size_mib "$exe") MiB | — | — | ≤ 12 MB | $(awk -v b="$(stat -c %s "$exe")" 'BEGIN {print (b <= 12000000) ? "yes" : "no"}') |"
echo "| $(basename "$zip") | size | $(size_mib "$zip") MiB | — | — | ≤ 6 MB | $(awk -v b="$(stat -c %s "$zip")" 'BEGIN {print (b <= 6000000) ? "yes" : "no"}') |"
echo "| start-up under Wine, main window | time to first paint | $(ms program) ms | $(ms bare) ms | ${ratio}× | — | — |"
echo "| start-up under Wine, main window | peak working set | $(mib program) MiB | $(mib bare) MiB | — | — | — |"
