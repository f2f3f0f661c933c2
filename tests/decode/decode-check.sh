#!/usr/bin/env bash
# The core's decode of moviegen's views against Debian's djpeg, byte for byte:
# baseline, progressive, restart markers, grayscale, best quality and odd sizes.
#
#   decode-check.sh WORKDIR MOVIEGEN DECODE_VIEWS [EMULATOR...]
#
# The two programs are the build's own, run through EMULATOR when one is given
# (node for the web build). djpeg is asked for RGB, as the core asks libjpeg for
# it, so a grayscale view compares as three equal channels.
set -euo pipefail

[ $# -ge 3 ] || { echo "usage: decode-check.sh WORKDIR MOVIEGEN DECODE_VIEWS [EMULATOR...]" >&2; exit 2; }
work=$1 moviegen=$2 decoder=$3
shift 3
run=("$@")

cases=(
    "baseline    --width 96 --height 64"
    "progressive --width 96 --height 64 --progressive"
    "restart     --width 96 --height 64 --restart-rows 1"
    "grayscale   --width 96 --height 64 --grayscale"
    "best        --width 96 --height 64 --quality 100"
    "odd         --width 101 --height 37"
    "odd-mixed   --width 53 --height 29 --progressive --grayscale --restart-rows 2"
    "view-size   --width 320 --height 240 --restart-rows 4"
)

rm -rf "$work"
same=0
differ=0
for entry in "${cases[@]}"; do
    read -r name options <<<"$entry"
    movie="$work/$name"
    mkdir -p "$movie/core" "$movie/djpeg"
    # shellcheck disable=SC2086  # the options are words
    "${run[@]}" "$moviegen" --out "$movie" --rows 1 --cols 3 $options >/dev/null
    "${run[@]}" "$decoder" "$movie/movie.zel" "$movie/core" >/dev/null
    views=0
    for jpeg in "$movie"/*.jpg; do
        view=$(basename "$jpeg")
        views=$((views + 1))
        djpeg -rgb -outfile "$movie/djpeg/$view.ppm" "$jpeg"
        if cmp -s "$movie/core/$view.ppm" "$movie/djpeg/$view.ppm"; then
            same=$((same + 1))
        else
            echo "differs from djpeg: $name/$view"
            differ=$((differ + 1))
        fi
    done
    [ "$views" = 3 ] || { echo "$name: moviegen wrote $views views, not 3"; differ=$((differ + 1)); }
done
echo "$same views decoded exactly as djpeg decodes them, $differ not"
[ "$differ" = 0 ] && [ "$same" -gt 0 ]
