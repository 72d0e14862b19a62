#!/usr/bin/env bash
# Times start-up to first paint of the program and of a bare Qt widget program, alternately,
# in the same run. Usage: bench/run_startup.sh BUILD_DIR [RUNS]   (needs an X display)
set -euo pipefail
bench="$1/bench/startup_bench"
runs="${2:-20}"

measure() {
    local mode="$1" times=() rss=0 start end
    for ((i = 0; i < runs; i++)); do
        start=$EPOCHREALTIME
        rss=$("$bench" "$mode" 2>/dev/null)
        end=$EPOCHREALTIME
        times+=("$(echo "($end - $start) * 1000" | bc)")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk -v m="$mode" -v r="$rss" \
        '{a[NR]=$1} END {printf "%-8s median %6.1f ms  best %6.1f ms  peak memory %d KiB\n", m, a[int((NR+1)/2)], a[1], r}'
}

measure bare
measure kemurin
