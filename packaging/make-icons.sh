#!/usr/bin/env bash
# Regenerates the hicolor icons under packaging/icons/ from resources/kemurin.png.
# The PNGs are kept in the repository so that a build needs no image tools; run this again
# (it needs Debian's imagemagick) only when the picture changes.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source_png="$here/resources/kemurin.png"

for size in 16 32 48 64 128 256; do
    mkdir -p "$here/packaging/icons/$size"
    # The picture is drawn at 32 px: that size is shipped as it is.
    if [ "$size" -eq 32 ]; then
        cp "$source_png" "$here/packaging/icons/32/kemurin.png"
        continue
    fi
    # Lanczos keeps 16 px sharp; Mitchell keeps the larger sizes free of ringing. -strip drops the time stamps so reruns give the same bytes.
    filter=Mitchell
    [ "$size" -lt 32 ] && filter=Lanczos
    convert "$source_png" -filter "$filter" -resize "${size}x${size}" -strip \
        -define png:exclude-chunks=date,time "PNG32:$here/packaging/icons/$size/kemurin.png"
done
