#!/usr/bin/env bash
# CPU time the running program spends while left alone with its main window open, against a
# bare Qt label program left alone beside it over the same seconds. Both run side by side; each
# is read from /proc before and after the idle span. Prints medians over the rounds, and table
# rows.
# Usage: bench/run_idle.sh BUILD_DIR [SECONDS] [ROUNDS]   (needs an X display)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/common.sh"
build="$(cd "$1" && pwd)"
seconds="${2:-60}"
rounds="${3:-3}"
settle=5
platform="${QT_QPA_PLATFORM:-xcb}"
ticks_per_second=$(getconf CLK_TCK)

use_private_runtime_dir
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work" "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT
write_started_settings "$work" 0

# "cpu_ms run_ms wakeups" of a process: utime + stime from its stat; the on-CPU time of its
# live threads in nanoseconds from schedstat, finer than the clock ticks of stat; and the
# voluntary context switches of its live threads, each a wake-up after a wait.
sample() {
    local pid="$1" stat run=0 wakeups=0 task ns w
    stat="$(cat "/proc/$pid/stat")"
    stat="${stat##*) }"
    # A thread may end between the listing and the reading; it then counts for nothing.
    for task in /proc/"$pid"/task/*; do
        ns=$(cut -d' ' -f1 "$task/schedstat" 2>/dev/null || true)
        w=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status" 2>/dev/null || true)
        run=$((run + ${ns:-0}))
        wakeups=$((wakeups + ${w:-0}))
    done
    awk -v s="$stat" -v hz="$ticks_per_second" -v run="$run" -v w="$wakeups" \
        'BEGIN {split(s, f, " "); printf "%.1f %.3f %d\n", (f[12] + f[13]) * 1000 / hz, run / 1e6, w}'
}

for ((round = 0; round < rounds; round++)); do
    (cd "$work" && exec "$build/src/kemurin") 2>/dev/null &
    program=$!
    "$build/bench/startup_bench" bare stay 2>/dev/null &
    bare=$!
    pids=("$program" "$bare")
    sleep "$settle"
    read -r p_cpu0 p_run0 p_wake0 < <(sample "$program")
    read -r b_cpu0 b_run0 b_wake0 < <(sample "$bare")
    sleep "$seconds"
    read -r p_cpu1 p_run1 p_wake1 < <(sample "$program")
    read -r b_cpu1 b_run1 b_wake1 < <(sample "$bare")
    for pid in "$program" "$bare"; do
        if ! kill "$pid" 2>/dev/null; then
            echo "a program under test ended before its idle span was over" >&2
            exit 1
        fi
        wait "$pid" 2>/dev/null || true
    done
    pids=()
    awk -v a="$p_cpu0" -v b="$p_cpu1" 'BEGIN {print b - a}' >>"$work/program_cpu"
    awk -v a="$b_cpu0" -v b="$b_cpu1" 'BEGIN {print b - a}' >>"$work/bare_cpu"
    awk -v a="$p_run0" -v b="$p_run1" 'BEGIN {print b - a}' >>"$work/program_run"
    awk -v a="$b_run0" -v b="$b_run1" 'BEGIN {print b - a}' >>"$work/bare_run"
    echo $((p_wake1 - p_wake0)) >>"$work/program_wake"
    echo $((b_wake1 - b_wake0)) >>"$work/bare_wake"
    echo "idle round $((round + 1))/$rounds: program $(tail -n1 "$work/program_cpu") ms" \
        "($(tail -n1 "$work/program_wake") wake-ups), bare $(tail -n1 "$work/bare_cpu") ms" \
        "($(tail -n1 "$work/bare_wake") wake-ups)" >&2
done

name="idle ${seconds} s, main window open ($platform)"
awk -v name="$name" -v rounds="$rounds" \
    -v pc="$(median <"$work/program_cpu")" -v bc="$(median <"$work/bare_cpu")" \
    -v pr="$(median <"$work/program_run")" -v br="$(median <"$work/bare_run")" \
    -v pw="$(median <"$work/program_wake")" -v bw="$(median <"$work/bare_wake")" '
    BEGIN {
        printf "| %s | CPU time, utime + stime | %.0f ms | %.0f ms | %+.0f ms | ≤ 20 ms | %s |\n", \
            name, pc, bc, pc - bc, (pc <= 20 ? "yes" : "no")
        printf "| %s | on-CPU time of its threads (schedstat) | %.2f ms | %.2f ms | %s | — | — |\n", \
            name, pr, br, (br > 0 ? sprintf("%.2f×", pr / br) : "—")
        printf "| %s | wake-ups (voluntary context switches) | %d | %d | %+d | — | — |\n", \
            name, pw, bw, pw - bw
    }'
