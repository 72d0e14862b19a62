#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ and runs each for the given number of seconds
# (default 30), starting from the corpus in fuzz/corpus/<target>/. New inputs go to a scratch
# folder, not into the tree. A crash, hang, leak, out-of-bounds access or broken promise fails the
# run and leaves the input in build-fuzz/findings/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
build="$here/build-fuzz"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DKEMURIN_FUZZ=ON -DKEMURIN_TESTS=OFF >/dev/null
cmake --build "$build"
mkdir -p "$build/findings"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

for target in initial_record option_record history_record text_codec numbers; do
    echo "== fuzz_$target, ${seconds} s =="
    mkdir -p "$scratch/$target"
    log="$scratch/$target.log"
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$scratch/$target" "$here/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz_$target found a fault; the input is in $build/findings/"
        exit 1
    fi
    grep -E '^(INFO: seed corpus|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
done
