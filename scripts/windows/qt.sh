# The static Qt for Windows that the desktop program links. No Qt for Windows is packaged, so it is
# cross-built from Debian's own qt6-base source, of the version of the host's Qt tools (moc, rcc and uic
# run on the host), into a cache outside the checkout that every later build reuses. Sourced after
# common.sh.
qt_version=6.4.2
qt_packages=(qt6-base-dev qt6-translations-l10n)

# The least the desktop program and its view tests need: Core (with QTranslator), Gui, Widgets, the
# qwindows platform plugin and the Windows styles, Qt Test, PNG images and the tray icon. The wintab
# headers are missing from Debian's source, hence no tablet events.
qt_options=(-release -static -static-runtime -xplatform win32-g++ -nomake examples -nomake tests
            -nomake benchmarks -no-opengl -no-dbus -no-freetype -no-fontconfig -no-icu -no-zstd -qt-zlib
            -qt-pcre -qt-libpng -no-libjpeg -qt-harfbuzz -no-direct2d -no-feature-network -no-feature-sql
            -no-feature-xml -no-feature-printsupport -no-feature-concurrent -no-feature-vulkan
            -no-feature-tabletevent -feature-png -feature-systemtrayicon -feature-testlib)

# Qt 6.4.2 compiles its DirectWrite font engine only along with Direct2D, yet the platform plugin uses
# it whenever DirectWrite is there: without Direct2D (which nothing of ours draws with) the build would
# not link. These edits make the engine depend on DirectWrite alone.
patch_qt() {
    local source=$1
    sed -i 's/QT_FEATURE_direct2d AND QT_FEATURE_directwrite/QT_FEATURE_directwrite/' "$source/src/gui/CMakeLists.txt"
    sed -i 's/QT_CONFIG(directwrite) && QT_CONFIG(direct2d)/QT_CONFIG(directwrite)/' \
        "$source/src/gui/text/windows/qwindowsfontdatabasebase.cpp"
}

# The cache folder is named after everything that changes what gets built: the Debian source version,
# the compiler, the toolchain settings, the options and the edits above. ZORVANT_WINDOWS_QT names a Qt
# folder outright; ZORVANT_CACHE moves the cache.
find_qt() {
    qt_source_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    local key
    key=$({
        echo "$qt_source_version"
        dpkg-query -W -f='${Version}\n' g++-mingw-w64-x86-64-posix
        grep -v '^#' "$toolchain"
        printf '%s\n' "${qt_options[@]}"
        declare -f patch_qt
    } | sha256sum | cut -c1-12)
    qt_prefix=${ZORVANT_WINDOWS_QT:-${ZORVANT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zorvant}/qt-$qt_version-win64-$key}
}

# A folder holds a usable Qt only once its installation has finished.
qt_present() {
    [ -f "$qt_prefix/.complete" ]
}

build_qt() {
    qt_present && return
    local work=$out/qt-build started=$SECONDS
    log "building Qt $qt_version for Windows into $qt_prefix (about 30 minutes on 2 cores)"
    rm -rf "$work" "$qt_prefix"
    fetch_debian_source "qt6-base=$qt_source_version" "$work" 2>"$work.fetch.log"
    patch_qt "$work/source"
    mkdir -p "$work/build"
    (cd "$work/build" && quietly "$work/configure.log" "$work/source/configure" -prefix "$qt_prefix" \
        "${qt_options[@]}" -qt-host-path /usr -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    quietly "$work/build.log" nice cmake --build "$work/build" -j "$(nproc)"
    quietly "$work/install.log" cmake --install "$work/build"
    touch "$qt_prefix/.complete"
    rm -rf "$work" "$work.fetch.log"
    log "Qt built in $(((SECONDS - started) / 60)) min, $(du -sh "$qt_prefix" | cut -f1) installed"
}
