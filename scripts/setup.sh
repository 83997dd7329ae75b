#!/usr/bin/env bash
# Installs whatever the build, the tests and the run need and is missing:
# Debian packages, Debian source entries, and the third-party libraries that
# Debian ships only as source (hidapi, minizip), built with our toolchains
# into the cache folder outside git. Safe to run again: finished steps are
# skipped.
set -euo pipefail
. "$(dirname "$0")/common.sh"

PACKAGES_FILE="$TARVENHOLM_ROOT/scripts/packages.txt"
SOURCES_ENTRY=/etc/apt/sources.list.d/tarvenholm-src.sources
HIDAPI_VERSION=0.13.1-1
ZLIB_VERSION=1:1.2.13.dfsg-1

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing_packages() {
    local pkg
    for pkg in $(grep -v '^#' "$PACKAGES_FILE"); do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
    done
}

add_source_entries() {
    [ -f "$SOURCES_ENTRY" ] && return 0
    local archive suite
    archive="$(machine_archive)"
    suite="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
    log "adding Debian source entries ($archive $suite)"
    as_root tee "$SOURCES_ENTRY" >/dev/null <<SRC
Types: deb-src
URIs: $archive
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    APT_UPDATED=0
}

APT_UPDATED=0
apt_update_once() {
    [ "$APT_UPDATED" = 1 ] && return 0
    as_root apt-get update -qq
    APT_UPDATED=1
}

install_packages() {
    local missing
    missing="$(missing_packages)"
    [ -z "$missing" ] && return 0
    log "installing: $(echo $missing)"
    apt_update_once
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Unpacks a Debian source package (with Debian's patches applied) once.
fetch_source() {
    local name="$1" version="$2" dir="$TARVENHOLM_CACHE/src"
    local upstream="${version#*:}"; upstream="${upstream%-*}"
    if ! ls -d "$dir/$name-"*/ >/dev/null 2>&1; then
        log "fetching source package $name $version"
        mkdir -p "$dir"
        if ! (cd "$dir" && apt-get source -qq "$name=$version" >/dev/null 2>&1); then
            apt_update_once
            (cd "$dir" && apt-get source -qq "$name=$version" >/dev/null)
        fi
    fi
    ls -d "$dir/$name-"*/ | head -n1
}

build_hidapi() {
    local arch="$1" src="$2" out="$TARVENHOLM_CACHE/deps/$1"
    [ -f "$out/.hidapi-$HIDAPI_VERSION" ] && return 0
    log "building hidapi for $arch"
    rm -rf "$TARVENHOLM_CACHE/build/hidapi-$arch"
    cmake -S "$src" -B "$TARVENHOLM_CACHE/build/hidapi-$arch" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TARVENHOLM_ROOT/cmake/toolchain-$arch.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR= \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" \
        -DBUILD_SHARED_LIBS=ON -DHIDAPI_BUILD_HIDTEST=OFF \
        -DCMAKE_SHARED_LINKER_FLAGS="-static-libgcc" >/dev/null
    cmake --build "$TARVENHOLM_CACHE/build/hidapi-$arch" >/dev/null
    cmake --install "$TARVENHOLM_CACHE/build/hidapi-$arch" >/dev/null
    touch "$out/.hidapi-$HIDAPI_VERSION"
}

# minizip has no build system of its own in zlib's sources: its three reader
# files are compiled into a static library against Debian's MinGW zlib.
build_minizip() {
    local arch="$1" src="$2/contrib/minizip" out="$TARVENHOLM_CACHE/deps/$1"
    local cc="$arch-w64-mingw32-gcc-posix" work="$TARVENHOLM_CACHE/build/minizip-$arch"
    [ -f "$out/.minizip-${ZLIB_VERSION#*:}" ] && return 0
    log "building minizip for $arch"
    rm -rf "$work"; mkdir -p "$work" "$out/lib" "$out/include/minizip"
    local f
    for f in unzip ioapi iowin32; do
        "$cc" -O2 -DNOUNCRYPT -c "$src/$f.c" -o "$work/$f.o"
    done
    "$arch-w64-mingw32-ar" rcs "$out/lib/libminizip.a" "$work"/*.o
    cp "$src"/{unzip.h,ioapi.h,iowin32.h} "$out/include/minizip/"
    touch "$out/.minizip-${ZLIB_VERSION#*:}"
}

main() {
    install_packages
    add_source_entries
    local hidapi_src zlib_src arch
    hidapi_src="$(fetch_source hidapi "$HIDAPI_VERSION")"
    zlib_src="$(fetch_source zlib "$ZLIB_VERSION")"
    for arch in "${TARVENHOLM_ARCHS[@]}"; do
        build_hidapi "$arch" "$hidapi_src"
        build_minizip "$arch" "$zlib_src"
    done
}

main "$@"
