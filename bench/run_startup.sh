#!/usr/bin/env bash
# Start-up to first paint, and peak memory there, of the program opening its main window, of the
# program opening its mini window, and of a bare Qt widget program, taken in turn in each round
# of the same run. Prints medians and table rows.
# Usage: bench/run_startup.sh BUILD_DIR [RUNS]
# Runs on the platform QT_QPA_PLATFORM names (offscreen), else on the X display in DISPLAY.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/common.sh"
bench="$(cd "$1" && pwd)/bench/startup_bench"
runs="${2:-20}"
platform="${QT_QPA_PLATFORM:-xcb}"

use_private_runtime_dir
work="$(mktemp -d)"
trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
mkdir -p "$work/bare" "$work/main" "$work/mini"
write_started_settings "$work/main" 0
write_started_settings "$work/mini" 1

# One start; appends "milliseconds KiB" to $work/<what>.txt.
start_once() {
    local what="$1" mode="program" start end rss
    [ "$what" = bare ] && mode="bare"
    start=${EPOCHREALTIME/./}
    rss=$(cd "$work/$what" && "$bench" "$mode" 2>/dev/null) || true
    end=${EPOCHREALTIME/./}
    if ! [[ "$rss" =~ ^[0-9]+$ ]]; then
        echo "startup_bench $mode did not reach its first paint on $platform" >&2
        exit 1
    fi
    echo "$(((end - start) / 1000)).$(printf '%03d' $(((end - start) % 1000))) $rss" >>"$work/$what.txt"
}

# The first start of each fills the caches alike; it is not counted.
for what in bare main mini; do
    start_once "$what"
    : >"$work/$what.txt"
done
for ((i = 0; i < runs; i++)); do
    for what in bare main mini; do
        start_once "$what"
    done
done

ms() { cut -d' ' -f1 "$work/$1.txt" | median; }
kib() { cut -d' ' -f2 "$work/$1.txt" | median; }
bare_ms=$(ms bare)
bare_kib=$(kib bare)
printf '%-28s median %7.1f ms  peak memory %7.1f MiB  (%d runs)\n' "bare Qt label ($platform)" \
    "$bare_ms" "$(awk -v k="$bare_kib" 'BEGIN {print k / 1024}')" "$runs" >&2
for what in main mini; do
    t=$(ms "$what")
    k=$(kib "$what")
    name="start-up, $what window ($platform)"
    awk -v t="$t" -v k="$k" -v bt="$bare_ms" -v bk="$bare_kib" -v name="$name" -v runs="$runs" '
        BEGIN {
            printf "%-28s median %7.1f ms  peak memory %7.1f MiB  (%d runs)\n", name, t, k / 1024, runs > "/dev/stderr"
            ratio = t / bt; extra = (k - bk) / 1024
            printf "| %s | time to first paint | %.1f ms | %.1f ms | %.2f× | ≤ 1.25× | %s |\n", \
                name, t, bt, ratio, (ratio <= 1.25 ? "yes" : "no")
            printf "| %s | peak RSS | %.1f MiB | %.1f MiB | %+.1f MiB | ≤ +8 MiB | %s |\n", \
                name, k / 1024, bk / 1024, extra, (extra <= 8 ? "yes" : "no")
        }'
done
