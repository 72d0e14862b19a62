#!/usr/bin/env bash
# Checks that includes point one way (main.cpp → app → windows → engine, settings, desktop,
# system; engine → settings → system) and that no file includes another in a loop. The core
# (engine, settings) may call the operating system's layer, never the desktop's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"

allowed() {
    case "$1" in
    app) echo "app windows engine settings desktop system" ;;
    windows) echo "windows engine settings desktop system" ;;
    engine) echo "engine settings" ;;
    settings) echo "settings system" ;;
    desktop) echo "desktop" ;;
    system) echo "system" ;;
    esac
}

status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for file in */*.h */*.cpp; do
    layer=${file%%/*}
    while read -r included; do
        target=${included%%/*}
        if [[ " $(allowed "$layer") " != *" $target "* ]]; then
            echo "$file includes $included: $layer may not depend on $target"
            status=1
        fi
        # A header and its source are one unit: edges run between headers.
        unit=${file%.*}.h
        echo "$unit $included" >>"$edges"
    done < <(sed -n 's/^#include "\([a-z]*\/[A-Za-z]*\.h\)"/\1/p' "$file")
done
grep -v -E '^(\S+) \1$' "$edges" | tsort >/dev/null 2>"$edges.err" || true
if [ -s "$edges.err" ]; then
    echo "include cycle:"
    cat "$edges.err"
    status=1
fi
rm -f "$edges.err"
[ $status -eq 0 ] && echo "includes: one direction, no cycle"
exit $status
