#!/usr/bin/env bash
# The main job: installs what is missing, builds the three presets and says
# where everything landed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
for preset in native win64 win32; do
    echo "== building $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

echo
echo "Built:"
for preset in native win64 win32; do
    echo "  build/$preset: $(find "build/$preset" -maxdepth 3 \( -name '*.exe' -o -name '*.dll' -o -name '*.ocx' -o -name 'zel_*tests' -o -name 'libzel_*.a' \) -not -path '*/libjpeg-turbo/*' | sort | tr '\n' ' ')"
done
echo
echo "The shipped deliverables land in build/win32: plugin/NpZel.dll, control/ZEL.OCX and"
echo "installer/ZelSetup.exe; the win64 tree holds the same for the tests under Wine."
missing=()
for f in plugin/NpZel.dll control/ZEL.OCX installer/ZelSetup.exe; do
    [ -f "build/win32/$f" ] || missing+=("$f")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Not built yet in this version of the tree: ${missing[*]}."
fi
