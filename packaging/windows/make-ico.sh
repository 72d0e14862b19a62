#!/usr/bin/env bash
# Writes kemurin.ico, the Windows program's icon, from the hicolor PNGs in packaging/icons/:
# PNG-compressed entries, which Windows reads since Vista. Kept in the repository beside the
# PNGs; run this again when they change.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
sizes=(16 32 48 256)

le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16)); }

{
    le16 0; le16 1; le16 ${#sizes[@]}
    offset=$((6 + 16 * ${#sizes[@]}))
    for size in "${sizes[@]}"; do
        length=$(stat -c %s "$here/../icons/$size/kemurin.png")
        printf "\\x$(printf %02x $((size & 255)))\\x$(printf %02x $((size & 255)))\\x00\\x00"
        le16 1; le16 32; le32 "$length"; le32 "$offset"
        offset=$((offset + length))
    done
    for size in "${sizes[@]}"; do
        cat "$here/../icons/$size/kemurin.png"
    done
} >"$here/kemurin.ico"
