#!/usr/bin/env bash
# The benchmarks: builds the native preset and prints one "<name> <ratio>" line
# per figure, every figure measured in the same run (the full Google Benchmark
# table goes to standard error).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target zel_bench_pictures >/dev/null
exec build/native/bench/zel_bench_pictures --benchmark_min_time=0.5 "$@"
