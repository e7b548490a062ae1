# What scripts/test-windows and scripts/build-windows share: packages, the Russian locale for Wine, the
# 64-bit Wine prefix, Debian source packages and the static libcurl. Sourced, not run; the caller sets
# `tag` (the name its messages start with).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=${ZORVANT_WINDOWS_BUILD:-$root/build-windows}
toolchain=$root/cmake/toolchain-mingw64.cmake
# The 64-bit loader, called directly: /usr/bin/wine picks the 32-bit one whenever wine32 is installed.
wine64=/usr/lib/wine/wine64
mkdir -p "$out"

log() { echo "$tag: $*"; }

# What this run started ends with it: the wineserver of its prefix and its X server.
cleanup() {
    [ -z "${wine_started:-}" ] || wineserver -k >/dev/null 2>&1 || true
    [ -z "${display_pid:-}" ] || kill "$display_pid" 2>/dev/null || true
}
trap cleanup EXIT

# Runs a command with its output in a log file, shown only when the command fails.
quietly() {
    local file=$1
    shift
    "$@" >"$file" 2>&1 || { tail -n 60 "$file"; log "failed: $*"; return 1; }
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# Installs those of the given Debian packages that are missing.
install_packages() {
    local missing=() package
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    log "installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    quietly "$out/apt.log" as_root apt-get -o DPkg::Lock::Timeout=900 update -qq
    quietly "$out/apt.log" as_root apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
}

# The compilers, 64-bit Wine, the locale tools and what fetches Debian's sources.
core_packages=(g++-mingw-w64-x86-64-posix wine wine64 locales dpkg-dev ninja-build cmake googletest
               openssl python3-aiosmtpd)

# Wine takes the ANSI code page from LC_CTYPE and writes Unix file names in its charset, so Russian
# Windows (code page 1251) with Cyrillic file names needs a real ru_RU.UTF-8 locale. It is compiled
# into the build folder; the system's locales stay as they are.
prepare_locale() {
    if [ ! -d "$out/locale/ru_RU.UTF-8" ]; then
        mkdir -p "$out/locale"
        localedef -i ru_RU -f UTF-8 "$out/locale/ru_RU.UTF-8"
    fi
    mkdir -p "$out/wine-home"
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$out/wine-home/.asoundrc"
}

# Runs a Wine command in that locale; the build tools keep the caller's. There is no sound card here,
# so Wine's ALSA driver gets a null device (from the .asoundrc of a home of its own) and sounds play
# into it, as they would on a machine with speakers.
in_wine() {
    LOCPATH=$out/locale LC_ALL=${wine_locale:-ru_RU.UTF-8} HOME=$out/wine-home "$@"
}

# One 64-bit prefix, created once; one wineserver for the whole run, started with no pipe of ours
# inherited (otherwise whoever reads our output waits for Wine's helper processes to exit). Checks that
# the prefix really runs 64-bit programs: Wine that cannot start one may still exit 0. With "fresh", a
# server left running for the prefix is ended first, so that Wine's helpers get this run's display.
start_wine() {
    export WINEPREFIX=${ZORVANT_WINEPREFIX:-$out/wine64} WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ "${1:-}" = fresh ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating the Wine prefix"
        in_wine "$wine64" wineboot.exe -i </dev/null >/dev/null 2>&1
    fi
    # wineserver -p fails when a server for this prefix runs already, which is as good.
    (in_wine wineserver -p || true; in_wine "$wine64" cmd /c exit) </dev/null >/dev/null 2>&1
    wine_started=1
    [ "$(in_wine "$wine64" cmd /c 'echo %PROCESSOR_ARCHITECTURE%' </dev/null 2>/dev/null | tr -d '\r')" = AMD64 ] ||
        { log "Wine cannot run 64-bit programs in $WINEPREFIX"; exit 1; }
}

# Fetches and unpacks a Debian source package (optionally package=version) into the folder $2, from
# the system's own Debian mirrors as source lines; the sources are never kept in the repository.
fetch_debian_source() {
    local package=$1 into=$2 lists=$out/apt
    mkdir -p "$lists/sources.list.d" "$lists/lists/partial" "$into"
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >"$lists/sources.list"
    else
        : >"$lists/sources.list"
    fi
    for list in /etc/apt/sources.list.d/*.sources; do
        [ -f "$list" ] && sed 's/^Types: deb$/Types: deb-src/' "$list" >"$lists/sources.list.d/$(basename "$list")"
    done
    local apt_options=(-o Dir::Etc::SourceList="$lists/sources.list" -o Dir::Etc::SourceParts="$lists/sources.list.d"
                       -o Dir::State::Lists="$lists/lists" -o APT::Sandbox::User=root)
    apt-get "${apt_options[@]}" update -qq
    (cd "$into" && apt-get "${apt_options[@]}" source --download-only -qq "$package" >/dev/null &&
        dpkg-source -x --no-check ./*.dsc source >/dev/null)
}

# libcurl for Windows is not packaged: it is built from Debian's own curl source package, statically,
# with Schannel (the system's TLS) and only the mail protocols.
build_curl() {
    curl_prefix=$out/curl
    [ -f "$curl_prefix/lib/libcurl.a" ] && return
    log "building libcurl for Windows"
    local work=$out/curl-build
    rm -rf "$work"
    fetch_debian_source curl "$work"
    quietly "$work/configure.log" cmake -S "$work/source" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$curl_prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF \
        -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF \
        -DCURL_USE_LIBSSH2=OFF -DUSE_LIBIDN2=OFF -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
        -DUSE_NGHTTP2=OFF -DENABLE_UNIX_SOCKETS=OFF -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none \
        -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON -DCURL_DISABLE_DICT=ON -DCURL_DISABLE_FILE=ON \
        -DCURL_DISABLE_FTP=ON -DCURL_DISABLE_GOPHER=ON -DCURL_DISABLE_IMAP=ON -DCURL_DISABLE_MQTT=ON \
        -DCURL_DISABLE_POP3=ON -DCURL_DISABLE_RTSP=ON -DCURL_DISABLE_SMB=ON -DCURL_DISABLE_TELNET=ON \
        -DCURL_DISABLE_TFTP=ON
    quietly "$work/build.log" nice cmake --build "$work/build" --target install
    rm -rf "$work"
}

# ccache, where installed, shares compiled objects between build folders.
launcher() {
    command -v ccache >/dev/null && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache" || true
}

passed_total=0
failures=0

# A check of a Windows program's behaviour from outside: the message says what was expected.
check() {
    local what=$1
    shift
    if "$@"; then
        log "$what: passed"
        passed_total=$((passed_total + 1))
    else
        log "$what: FAILED"
        failures=$((failures + 1))
    fi
}

# Each program is a 64-bit Windows program that imports no DLL of a compiler or library runtime, only
# Windows' own.
standalone_win64() {
    local exe
    for exe in "$@"; do
        [[ $(x86_64-w64-mingw32-objdump -f "$exe") == *"file format pei-x86-64"* ]] || return 1
        if x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
            grep -iE '^(lib|qt|icu|zlib|curl)'; then
            return 1
        fi
    done
}
