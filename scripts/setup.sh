#!/usr/bin/env bash
# Installs what the builds and the tests need on a Debian 12 machine (for the
# fuzz preset: clang, the libFuzzer and sanitizer runtimes, llvm-symbolizer;
# for the web preset: Debian's Emscripten, headless Chromium and the MIME
# types a Python web server reads), fetches the Debian sources of libjpeg-turbo
# and Google Benchmark once into the cache folder and installs the root
# package.json's locked node packages. Safe to run again: with everything
# present it only checks and returns within seconds.
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

# Debian source packages the Windows builds compile: libjpeg-turbo, and Google
# Benchmark for the win64 benchmarks.
sources=(libjpeg-turbo benchmark)
have_sources() {
    local p
    for p in "${sources[@]}"; do ls "$cache/$p/${p}_"*.orig.tar.* >/dev/null 2>&1 || return 1; done
}

if [ ${#missing[@]} -gt 0 ] || { [ $needUpdate = 1 ] && ! have_sources; }; then
    export DEBIAN_FRONTEND=noninteractive
    sudo_ apt-get update -q || echo "setup: apt-get update reported problems; continuing" >&2
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: installing ${missing[*]}"
        sudo_ apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
fi

# Unpacked with Debian's own patches applied; the Windows presets build from here.
for p in "${sources[@]}"; do
    if ! ls "$cache/$p/${p}_"*.orig.tar.* >/dev/null 2>&1; then
        mkdir -p "$cache/$p"
        (cd "$cache/$p" && apt-get source --download-only "$p")
    fi
    if [ ! -f "$cache/$p/src/CMakeLists.txt" ]; then
        rm -rf "$cache/$p/src"
        (cd "$cache/$p" && dpkg-source --no-check -x "${p}"_*.dsc src >/dev/null)
    fi
done

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
echo "setup: ready (libjpeg-turbo and Google Benchmark sources in $cache)"
