#!/usr/bin/env bash
# Renders the fuzz targets' seeds into SEEDS/<target>/ with moviegen: small
# movies in every JPEG form moviegen writes (baseline, progressive, grayscale,
# restart markers; pictures smaller, equal to and larger than fuzz_view's
# 41 x 30 frame), their descriptions and morph files, and whole movies bundled
# for fuzz_zelcheck (fuzz/movie_bundle.h). Then adds fuzz/corpus/<target>/:
# text files as they are, *.hex files (binary regression inputs) decoded.
# usage: fuzz/make-seeds.sh MOVIEGEN SEEDS
set -euo pipefail

moviegen=$1
seeds=$2
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$seeds/.movies"
rm -rf "$seeds"
mkdir -p "$work" "$seeds"/{fuzz_description,fuzz_morph,fuzz_view,fuzz_zelcheck,fuzz_names,fuzz_stream_routing}

# movie NAME OPTIONS...: renders one movie into $work/NAME.
movie() {
    local name=$1
    shift
    "$moviegen" --out "$work/$name" "$@" >/dev/null
}

# The description first, then every other file under a "@@ NAME" line.
bundle() {
    local dir=$1 file
    cat "$dir/movie.zel"
    for file in "$dir"/*; do
        [ "$(basename "$file")" = movie.zel ] && continue
        printf '\n@@ %s\n' "$(basename "$file")"
        cat "$file"
    done
}

movie small --rows 1 --cols 2 --width 24 --height 18 --morph
movie frame --rows 1 --cols 2 --width 41 --height 30 --quality 40 --no-wrap-cols
movie progressive --rows 2 --cols 2 --width 64 --height 48 --progressive --wrap-rows
movie grayscale --rows 2 --cols 2 --width 48 --height 20 --grayscale --flag 3
movie restart --rows 1 --cols 3 --width 40 --height 40 --restart-rows 1 --morph
movie odd --rows 1 --cols 2 --width 33 --height 61 --progressive --grayscale --quality 95

for dir in "$work"/*/; do
    name=$(basename "$dir")
    cp "$dir/movie.zel" "$seeds/fuzz_description/$name.zel"
    for view in "$dir"/view_r0_c00.jpg "$dir"/view_r0_c01.jpg; do
        cp "$view" "$seeds/fuzz_view/$name-$(basename "$view")"
    done
    for morph in "$dir"/*; do
        case "$morph" in *.jpg|*.zel) ;; *) cp "$morph" "$seeds/fuzz_morph/$name-$(basename "$morph")" ;; esac
    done
    bundle "$dir" >"$seeds/fuzz_zelcheck/$name.bundle"
done
rm -rf "$work"

for dir in "$here"/corpus/*/; do
    target=$(basename "$dir")
    mkdir -p "$seeds/$target"
    for file in "$dir"*; do
        [ -f "$file" ] || continue
        case "$file" in
            *.hex) python3 -c 'import sys; sys.stdout.buffer.write(bytes.fromhex(sys.stdin.read()))' \
                       <"$file" >"$seeds/$target/$(basename "$file" .hex)" ;;
            *) cp "$file" "$seeds/$target/" ;;
        esac
    done
done
