#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all on a virtual X server, each against its
# baseline in the same run, then prints one table of medians (also kept in
# build-bench/bench-results.md). Takes about six minutes, three of them idle.
# Usage: bash bench/run.sh
# Counts: STARTUP_RUNS (30 starts of each kind per platform), IDLE_ROUNDS (3), IDLE_SECONDS (60).
# EARLIER_BUILD: the build folder of an earlier version (-DKEMURIN_BENCHMARKS=ON), whose start-up
# is measured in the same rounds.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="$root/build-bench"

if [ "${1:-}" != "--on-xvfb" ]; then
    bash "$root/scripts/setup.sh"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEMURIN_TESTS=OFF \
        -DKEMURIN_BENCHMARKS=ON >/dev/null
    cmake --build "$build" -j2 >&2
    # -noreset: the X server would otherwise restart whenever its last client leaves.
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" --on-xvfb
fi

. "$here/common.sh"
results="$build/bench-results.md"
rows="$(mktemp)"
log="$(mktemp)"
trap 'rm -f "$rows" "$log"' EXIT

{
    echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "Machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)," \
        "Debian $(cat /etc/debian_version), Qt $(pkg-config --modversion Qt6Core)," \
        "load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
} | tee "$results" >&2

echo "== Start-up to first paint ==" >&2
for platform in xcb offscreen; do
    QT_QPA_PLATFORM=$platform bash "$here/run_startup.sh" "$build" "${STARTUP_RUNS:-30}" \
        ${EARLIER_BUILD:+"$EARLIER_BUILD"} >>"$rows"
done

echo "== One refresh ==" >&2
QT_QPA_PLATFORM=offscreen "$build/bench/refresh_bench" 2>/dev/null | tee "$log" >&2
grep '^| ' "$log" >>"$rows"
# The computation does not touch the screen; only the window refreshes are run again on X.
QT_QPA_PLATFORM=xcb "$build/bench/refresh_bench" --benchmark_filter='main_window|six_labels' \
    2>/dev/null | tee "$log" >&2
grep '^| ' "$log" >>"$rows"

echo "== Idle ==" >&2
QT_QPA_PLATFORM=xcb bash "$here/run_idle.sh" "$build" "${IDLE_SECONDS:-60}" "${IDLE_ROUNDS:-3}" \
    >>"$rows"

{
    echo
    table_header
    cat "$rows"
} | tee -a "$results"
