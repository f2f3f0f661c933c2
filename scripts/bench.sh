#!/usr/bin/env bash
# The benchmarks: builds the native preset and prints one "<name> <ratio>" line
# per figure, every figure measured in the same run (the full Google Benchmark
# table goes to standard error); then the web part (bench-web): the web preset's
# front end in headless Chromium, its figures measured in one run of
# scripts/bench-web.mjs. Arguments go to the native benchmark program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target zel_bench_pictures moviegen >/dev/null
build/native/bench/zel_bench_pictures --benchmark_min_time=0.5 "$@"
cmake --preset web >/dev/null
cmake --build --preset web --target zel_web_stage >/dev/null
node scripts/bench-web.mjs
