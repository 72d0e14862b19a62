#!/usr/bin/env bash
# Start-up to first paint, and peak memory there, of the program opening its main window, of the
# program opening its mini window, of a bare Qt widget program, and of a bare label showing the
# main window's texts in its font, taken in turn in each round of the same run. Prints medians
# and table rows.
# Usage: bench/run_startup.sh BUILD_DIR [RUNS [EARLIER_BUILD_DIR]]
# With an earlier build, its main and mini window start in the same rounds too, for a before and
# after measured alike. Runs on the platform QT_QPA_PLATFORM names (offscreen), else on the X
# display in DISPLAY.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/common.sh"
bench="$(cd "$1" && pwd)/bench/startup_bench"
runs="${2:-20}"
earlier="${3:+$(cd "$3" && pwd)/bench/startup_bench}"
kinds=(bare texts main mini)
[ -n "$earlier" ] && kinds+=(earlier-main earlier-mini)
platform="${QT_QPA_PLATFORM:-xcb}"

use_private_runtime_dir
work="$(mktemp -d)"
trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
for what in "${kinds[@]}"; do
    mkdir -p "$work/$what"
done
for what in main earlier-main; do write_started_settings "$work/$what" 0; done
for what in mini earlier-mini; do write_started_settings "$work/$what" 1; done

# One start; appends "milliseconds KiB" to $work/<what>.txt.
start_once() {
    local what="$1" mode="program" program="$bench" start end rss
    [ "$what" = bare ] || [ "$what" = texts ] && mode="$what"
    [[ "$what" == earlier-* ]] && program="$earlier"
    start=${EPOCHREALTIME/./}
    rss=$(cd "$work/$what" && "$program" "$mode" 2>/dev/null) || true
    end=${EPOCHREALTIME/./}
    if ! [[ "$rss" =~ ^[0-9]+$ ]]; then
        echo "startup_bench $mode did not reach its first paint on $platform" >&2
        exit 1
    fi
    echo "$(((end - start) / 1000)).$(printf '%03d' $(((end - start) % 1000))) $rss" >>"$work/$what.txt"
}

# The first start of each fills the caches alike; it is not counted.
for what in "${kinds[@]}"; do
    start_once "$what"
    : >"$work/$what.txt"
done
for ((i = 0; i < runs; i++)); do
    for what in "${kinds[@]}"; do
        start_once "$what"
    done
done

# Goals against the bare program: an X server's round trips weigh more there than offscreen.
goal=1.15
[ "$platform" = xcb ] && goal=1.10
ms() { cut -d' ' -f1 "$work/$1.txt" | median; }
kib() { cut -d' ' -f2 "$work/$1.txt" | median; }
bare_ms=$(ms bare)
bare_kib=$(kib bare)
printf '%-28s median %7.1f ms  peak memory %7.1f MiB  (%d runs)\n' "bare Qt label ($platform)" \
    "$bare_ms" "$(awk -v k="$bare_kib" 'BEGIN {print k / 1024}')" "$runs" >&2
for what in "${kinds[@]:1}"; do
    t=$(ms "$what")
    k=$(kib "$what")
    name="start-up, ${what#earlier-} window ($platform)"
    [[ "$what" == earlier-* ]] && name="$name, earlier build"
    [ "$what" = texts ] && name="start-up, bare label with the main window's texts ($platform)"
    awk -v t="$t" -v k="$k" -v bt="$bare_ms" -v bk="$bare_kib" -v name="$name" -v runs="$runs" \
        -v goal="$goal" '
        BEGIN {
            printf "%-28s median %7.1f ms  peak memory %7.1f MiB  (%d runs)\n", name, t, k / 1024, runs > "/dev/stderr"
            ratio = t / bt; extra = (k - bk) / 1024
            printf "| %s | time to first paint | %.1f ms | %.1f ms | %.2f× | ≤ %.2f× | %s |\n", \
                name, t, bt, ratio, goal, (ratio <= goal ? "yes" : "no")
            printf "| %s | peak RSS | %.1f MiB | %.1f MiB | %+.1f MiB | ≤ +3 MiB | %s |\n", \
                name, k / 1024, bk / 1024, extra, (extra <= 3 ? "yes" : "no")
        }'
done
