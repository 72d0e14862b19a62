#!/usr/bin/env bash
# Installs, from Debian's packages only, whatever the build, the program, its tests and its
# benchmarks need; with --run first, only what building and running the program needs.
# Extra package names given as arguments are installed too (packaging/build-deb.sh adds its tools).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins qt6-translations-l10n
    fonts-ipafont-gothic librsvg2-bin
)
if [ "${1:-}" = --run ]; then
    shift
else
    packages+=(
        libgtest-dev libbenchmark-dev
        clang-14 libclang-rt-14-dev
        xvfb xauth xdotool xclip faketime trayer
        desktop-file-utils appstream
    )
fi
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
