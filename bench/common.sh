# Shared by the benchmark scripts; sourced, not run.

export LC_ALL=C

# A settings folder of a counting program: kemurindata/initial.ini and option.ini under DIR, as
# the program writes them (CP932, CR LF). WINDOW_MODE is option.ini's twelfth field: 0 opens the
# main window, 1 the mini window.
write_started_settings() {
    local dir="$1" window_mode="$2"
    mkdir -p "$dir/kemurindata"
    printf '2026,1,5,8,30,20,300,85\r\n' >"$dir/kemurindata/initial.ini"
    # The last field is ソルジャー in CP932.
    printf '1,8744,5,0,5,1,1500,1500,9241372,16777215,"kemurin.example.jp/",%d,0,0,"\x83\x5c\x83\x8b\x83\x57\x83\x83\x81\x5b"\r\n' \
        "$window_mode" >"$dir/kemurindata/option.ini"
}

# The program takes a lock in $XDG_RUNTIME_DIR and refuses to start while another instance holds
# it; each benchmark gets a folder of its own (mktemp makes it mode 0700, as Qt wants).
use_private_runtime_dir() {
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
}

# Median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{a[NR] = $1} END {if (NR == 0) exit 1; print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'
}

# One row of the results table:
# row BENCHMARK MEASURE PROGRAM BASELINE COMPARISON GOAL MET
row() {
    printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$@"
}

table_header() {
    row "Benchmark" "Measure" "Program (median)" "Baseline (median)" "Against baseline" "Goal" "Met"
    row "---" "---" "---:" "---:" "---:" "---" "---"
}
