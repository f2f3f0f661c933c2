#!/usr/bin/env bash
# Installs what the builds and the tests need on a Debian 12 machine (for the
# fuzz preset: clang, the libFuzzer and sanitizer runtimes, llvm-symbolizer;
# for the web preset: Debian's Emscripten, headless Chromium and the MIME
# types a Python web server reads), fetches libjpeg-turbo's Debian source once
# into the cache folder and installs the root package.json's locked node
# packages. Safe to run again: with everything present it only checks and
# returns within seconds.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${ZEL_CACHE:-$root/.cache}"

packages=(
    build-essential cmake ninja-build pkg-config
    mingw-w64 mingw-w64-tools g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    nasm
    wine wine64 libwine-dev
    xvfb xauth
    googletest libgtest-dev libgmock-dev libbenchmark-dev libjpeg62-turbo-dev
    python3 dpkg-dev libjpeg-turbo-progs
    clang-14 libclang-rt-14-dev llvm-14
    emscripten chromium media-types
)

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

srcList=/etc/apt/sources.list.d/zel-deb-src.sources
needUpdate=0
if [ ! -f "$srcList" ]; then
    sudo_ tee "$srcList" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    needUpdate=1
fi

if [ ${#missing[@]} -gt 0 ] || { [ $needUpdate = 1 ] && ! ls "$cache"/libjpeg-turbo/libjpeg-turbo_*.orig.tar.* >/dev/null 2>&1; }; then
    export DEBIAN_FRONTEND=noninteractive
    sudo_ apt-get update -q || echo "setup: apt-get update reported problems; continuing" >&2
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: installing ${missing[*]}"
        sudo_ apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
fi

# libjpeg-turbo for the Windows builds comes from Debian's source package.
if ! ls "$cache"/libjpeg-turbo/libjpeg-turbo_*.orig.tar.* >/dev/null 2>&1; then
    mkdir -p "$cache/libjpeg-turbo"
    (cd "$cache/libjpeg-turbo" && apt-get source --download-only libjpeg-turbo)
fi
# Unpacked with Debian's own patches applied; the Windows presets build from here.
if [ ! -f "$cache/libjpeg-turbo/src/CMakeLists.txt" ]; then
    rm -rf "$cache/libjpeg-turbo/src"
    (cd "$cache/libjpeg-turbo" && dpkg-source --no-check -x libjpeg-turbo_*.dsc src >/dev/null)
fi

# Emscripten runs its JavaScript tools with node. Debian's node finds Debian's
# node packages (acorn) by itself; another node (NodeSource's) needs NODE_PATH,
# which the web preset sets. Say so here if even that cannot work.
if ! NODE_PATH=/usr/share/nodejs node -e 'require("acorn")' 2>/dev/null; then
    echo "setup: node cannot load acorn from /usr/share/nodejs; emcc will fail" >&2
    exit 1
fi

# The web front end's node packages, exactly as locked. npm ci starts from an
# empty node_modules each time, so it runs only when the lock file changed.
if [ -f "$root/package.json" ] && [ -f "$root/package-lock.json" ]; then
    stamp="$root/node_modules/.zel-setup-lock"
    if ! cmp -s "$root/package-lock.json" "$stamp"; then
        echo "setup: npm ci"
        (cd "$root" && npm ci --no-audit --no-fund)
        mkdir -p "$root/node_modules"
        cp "$root/package-lock.json" "$stamp"
    fi
fi
echo "setup: ready (libjpeg-turbo source in $cache/libjpeg-turbo/src)"
