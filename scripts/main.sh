#!/usr/bin/env bash
# The main job: installs what is missing, builds the three Windows-side presets
# and the web preset, makes the sample movie beside examples/sample/index.html
# and shows it in the real NpZel.dll inside our browser host under Wine, then
# in today's browser through the web edition. With an X display (DISPLAY set,
# CI not set) the window opens for the user to drag, and then Chromium opens
# the sample pages served on 127.0.0.1:8000; without one a scripted drag
# writes a PNG of the window after each step, and headless Chromium drags the
# movie on each of the three sample pages and writes screenshots beside them.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
for preset in native win64 win32 web; do
    echo "== building $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

echo "== the sample movie"
rm -f examples/sample/*.jpg examples/sample/*.zel
build/native/tools/moviegen/moviegen --out examples/sample --rows 3 --cols 24 --width 320 --height 240 --flag 1
echo "== the sample movie as both shells read it (zelcheck)"
build/native/tools/authoring/zelcheck examples/sample/movie.zel || [ $? = 1 ]  # warnings do not stop the demo

wine_path() { echo "Z:$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
page=$(wine_path examples/sample/index.html)
plugin=$(wine_path build/win64/plugin/NpZel.dll)
demo="$root/build/win64/tools/browser_host/zeldemo.exe"
state="$root/build/win64/wine"
out="$root/build/demo"
rm -rf "$out"
mkdir -p "$out"
# The plug-in appends its trace ("debug.txt") to the current folder: keep it
# out of the source tree.
cd "$out"

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    echo "== showing the movie: drag it with the left mouse button, close the window to end"
    ZEL_WINE_DISPLAY=host "$root/tests/win/wine-run.sh" --state "$state" "$demo" "$page" --plugin "$plugin" --interactive
else
    echo "== no display: a scripted drag, one picture a step"
    ZEL_WINE_DISPLAY=null "$root/tests/win/wine-run.sh" --state "$state" "$demo" "$page" --plugin "$plugin" \
        --script "$(wine_path "$out")" --steps 12 >"$out/zeldemo.log" 2>&1 || {
        cat "$out/zeldemo.log"
        exit 1
    }
    cat "$out/zeldemo.log"
    echo "The pictures are in $out: step00.png before the drag, then one per step to the right."
fi

cd "$root"
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    echo "== the web edition: examples/ served on http://127.0.0.1:8000 (the port control.html's Url names)"
    python3 -u -m http.server 8000 --bind 127.0.0.1 --directory examples >"$out/http.log" 2>&1 &
    server=$!
    trap 'kill "$server" 2>/dev/null' EXIT
    sleep 1
    if ! kill -0 "$server" 2>/dev/null; then
        echo "Port 8000 is taken: serve examples/ yourself (see examples/sample/control.html)."
    else
        echo "Drag the movies in Chromium; close it to end."
        profile=$(mktemp -d)
        chromium --no-sandbox --user-data-dir="$profile" --no-first-run \
            http://127.0.0.1:8000/sample/index.html http://127.0.0.1:8000/sample/control.html \
            http://127.0.0.1:8000/sample/element.html >"$out/chromium.log" 2>&1 || true
        rm -rf "$profile"
    fi
else
    echo "== the web edition in headless Chromium: each sample page, a drag, screenshots"
    node scripts/web-demo.mjs "$out"
    echo "The screenshots are in $out: web-index-*.png, web-control-*.png, web-element-*.png."
fi

echo
echo "The shipped deliverables are in build/win32: plugin/NpZel.dll, control/ZEL.OCX and"
echo "installer/ZelSetup.exe; build/win64 holds the same for the tests. examples/sample/control.html"
echo "embeds the control, which fetches the movie over HTTP (see the README). The web edition is staged"
echo "in examples/zel: serve examples/ over HTTP and open sample/index.html, control.html or element.html."
