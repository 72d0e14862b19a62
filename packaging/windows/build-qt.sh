#!/usr/bin/env bash
# Builds a static Qt 6 qtbase and GoogleTest for x86_64-w64-mingw32 from Debian's own sources
# into a cache folder outside the clone, and prints that folder. A cache whose key (qt6-base
# version, configure flags, patches, toolchain, MinGW version) matches is reused as it is.
#   KEMURIN_WIN_CACHE  cache root (default ${XDG_CACHE_HOME:-$HOME/.cache}/kemurin)
#   KEMURIN_JOBS       parallel build jobs (default: number of cores)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
bash "$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix dpkg-dev xz-utils >&2

cache_root="${KEMURIN_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kemurin}"
jobs="${KEMURIN_JOBS:-$(nproc)}"
toolchain="$here/mingw-toolchain.cmake"
# Our own mend of the 6.4.2 source: it does not build with Direct2D off.
patches=("$here"/qt-6.4.2-*.patch)

qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
gtest_version="$(dpkg-query -W -f='${Version}' googletest)"
mingw_version="$(x86_64-w64-mingw32-g++-posix -dumpfullversion) $(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)"

qt_flags=(
    -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    # Debian's host tools (moc, rcc, uic) serve the cross build.
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    # Not used by the program.
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_zstd=OFF -DFEATURE_freetype=OFF
    # Network only for the local socket that brings a running program forward.
    -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF -DFEATURE_brotli=OFF -DFEATURE_gssapi=OFF
    -DFEATURE_libproxy=OFF -DFEATURE_schannel=OFF
    # Every third-party library bundled, none taken from the system.
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_system_libb2=OFF -DFEATURE_system_textmarkdownreader=OFF
    # The +dfsg source lacks the Wintab headers.
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF
    # Debian's cross.patch turns these on when cross-compiling.
    -DFEATURE_androiddeployqt=OFF -DFEATURE_pkg_config=OFF
    # A small program: built for size, each function in its own section so that the program's
    # link (--gc-sections) drops what nothing calls.
    -DFEATURE_optimize_size=ON
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections"
    "-DCMAKE_CXX_FLAGS=-ffunction-sections -fdata-sections"
    # Widgets, dialogs and facilities the program never shows or calls. QWidget and the styles
    # refer to many of them, so they would be linked in otherwise. (The Windows style needs the
    # spin box, the input dialog, the tree and table views, the tabs and the tool bar.)
    -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF -DFEATURE_mdiarea=OFF
    -DFEATURE_dockwidget=OFF
    -DFEATURE_statusbar=OFF
    -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_dial=OFF
    -DFEATURE_lcdnumber=OFF
    -DFEATURE_fontcombobox=OFF -DFEATURE_fontdialog=OFF -DFEATURE_filedialog=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_wizard=OFF
    -DFEATURE_errormessage=OFF -DFEATURE_progressdialog=OFF -DFEATURE_splashscreen=OFF
    -DFEATURE_columnview=OFF -DFEATURE_treewidget=OFF -DFEATURE_tablewidget=OFF
    -DFEATURE_listwidget=OFF
    -DFEATURE_splitter=OFF -DFEATURE_toolbox=OFF -DFEATURE_keysequenceedit=OFF
    -DFEATURE_syntaxhighlighter=OFF -DFEATURE_textbrowser=OFF -DFEATURE_undoview=OFF
    -DFEATURE_datawidgetmapper=OFF -DFEATURE_completer=OFF -DFEATURE_fscompleter=OFF
    -DFEATURE_commandlinkbutton=OFF -DFEATURE_scroller=OFF -DFEATURE_whatsthis=OFF
    -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF -DFEATURE_pdf=OFF
    -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF
    -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF -DFEATURE_gif=OFF -DFEATURE_jpeg=OFF
    -DFEATURE_filesystemmodel=OFF
    -DFEATURE_process=OFF -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF
    -DFEATURE_filesystemwatcher=OFF -DFEATURE_mimetype_database=OFF
    -DFEATURE_sortfilterproxymodel=OFF -DFEATURE_transposeproxymodel=OFF
    -DFEATURE_concatenatetablesproxymodel=OFF -DFEATURE_identityproxymodel=OFF
)

key="$( { echo "$qt_version"; echo "$gtest_version"; echo "$mingw_version"
          printf '%s\n' "${qt_flags[@]}"; cat "${patches[@]}" "$toolchain"; } | sha256sum | cut -c1-12)"
prefix="$cache_root/qt-6.4.2-mingw-$key"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# An interrupted build resumes where it stopped.
work="$cache_root/work-$key"
mkdir -p "$work"
log() { echo "build-qt: $(date -u +%H:%M:%S) $*" >&2; }

if [ ! -f "$work/gtest.done" ]; then
    log "GoogleTest $gtest_version for MinGW"
    cmake -S /usr/src/googletest -B "$work/gtest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF >&2
    cmake --build "$work/gtest" -j "$jobs" >&2
    cmake --install "$work/gtest" >&2
    touch "$work/gtest.done"
fi

if [ ! -f "$work/qt/build.ninja" ]; then
    rm -rf "$work/qt" "$work"/qt6-base*
    # Debian's source, with Debian's patches applied; a deb-src entry of our own if none exists.
    if ! apt-get source --print-uris "qt6-base=$qt_version" >/dev/null 2>&1; then
        log "adding a deb-src entry"
        sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo tee /etc/apt/sources.list.d/kemurin-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
        $sudo apt-get update -qq
    fi
    log "fetching qt6-base $qt_version"
    (cd "$work" && apt-get source -qq "qt6-base=$qt_version" >&2)
    src="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
    for patch_file in "${patches[@]}"; do
        patch -d "$src" -p1 <"$patch_file" >&2
    done

    log "configuring Qt"
    cmake -S "$src" -B "$work/qt" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_flags[@]}" >&2
fi
log "building Qt with $jobs jobs"
SECONDS=0
cmake --build "$work/qt" -j "$jobs" >&2
cmake --install "$work/qt" >&2

touch "$prefix/.complete"
rm -rf "$work"
log "done in $((SECONDS / 60)) min: $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"
