#!/usr/bin/env bash
# The benchmarks: builds the benchmark program of the native and the win64
# presets and prints one "<name> <value>" line per figure, each ratio measured
# within one run of its program: the native figures first, then the win64
# build's under Wine, prefixed "win64_" (the Windows builds' own code, as users
# run it), then the web part (bench-web): the web preset's front end in headless
# Chromium, its figures measured in one run of scripts/bench-web.mjs. The full
# Google Benchmark tables go to standard error. Arguments are passed to both
# benchmark programs (e.g. --benchmark_filter=Pack).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh >/dev/null
# A win64 tree configured before it built benchmarks keeps the option off.
cmake --preset native >/dev/null
cmake --preset win64 -DZEL_BENCHMARKS=ON >/dev/null
cmake --preset web >/dev/null
cmake --build --preset native --target zel_bench_pictures moviegen >/dev/null
cmake --build --preset win64 --target zel_bench_pictures >/dev/null
cmake --build --preset web --target zel_web_stage >/dev/null

# Figures from a busy machine say more about its neighbours than about the code.
load=$(cut -d' ' -f1 /proc/loadavg)
if awk -v load="$load" 'BEGIN { exit !(load > 1.0) }'; then
    echo "bench: load average $load; these figures are only meaningful on a quiet machine" >&2
fi

# A figure whose benchmarks did not run (a filter) fails its program; the other
# programs still run.
status=0
build/native/bench/zel_bench_pictures --benchmark_min_time=0.5 "$@" || status=$?
state="$root/build/win64/wine"
trap 'tests/win/wine-run.sh --state "$state" --shutdown' EXIT
tests/win/wine-run.sh --state "$state" build/win64/bench/zel_bench_pictures.exe --benchmark_min_time=0.5 "$@" |
    sed 's/^/win64_/' || status=$?
node scripts/bench-web.mjs || status=$?
exit "$status"
