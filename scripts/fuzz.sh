#!/usr/bin/env bash
# Builds the fuzz preset and runs each fuzz target for SECONDS (default 60),
# one after the other, on its seeds (fuzz/make-seeds.sh) and the corpus it
# grew before. Prints one line per target: executions, coverage (cov, ft),
# corpus size and findings; exits 1 when any target found something or did
# not run. Everything it writes stays under build/fuzz/: corpus/<target>/
# (kept between runs), findings/<target>/, logs/<target>.log, seeds/.
# usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
    targets=(fuzz_description fuzz_morph fuzz_view fuzz_zelcheck fuzz_names fuzz_stream_routing)

build="$root/build/fuzz"
mkdir -p "$build/logs"
if ! { cmake --preset fuzz && cmake --build --preset fuzz; } >"$build/logs/build.log" 2>&1; then
    echo "FAIL the fuzz preset does not build (see build/fuzz/logs/build.log)"
    exit 1
fi
# Per run, so two runs at once never clear each other's seeds.
seeds=$(mktemp -d "$build/seeds.XXXXXX")
# The targets write their inputs here, in memory; a crashed target leaves its
# folder behind, so the whole tree goes at the end.
scratch=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/zel-fuzz.XXXXXX")
trap 'rm -rf "$seeds" "$scratch"' EXIT
if ! bash fuzz/make-seeds.sh "$build/tools/moviegen/moviegen" "$seeds" >"$build/logs/seeds.log" 2>&1; then
    echo "FAIL the seeds were not made (see build/fuzz/logs/seeds.log)"
    exit 1
fi

# final_stat NAME LOG: one of the figures -print_final_stats=1 writes.
final_stat() { sed -n "s/^stat::$1: *//p" "$2" | tail -1; }

status=0
for target in "${targets[@]}"; do
    binary="$build/fuzz/$target"
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    log="$build/logs/$target.log"
    if [ ! -x "$binary" ]; then
        echo "FAIL $target: no such target"
        status=1
        continue
    fi
    mkdir -p "$corpus" "$findings" "$seeds/$target"
    stamp="$findings/.started"
    touch "$stamp"
    # Standard error is closed in the target (-close_fd_mask=3): the decoder
    # warns about every damaged picture. libFuzzer and the sanitizers still
    # report through a copy of it. An input running past 10 s is a hang.
    TMPDIR="$scratch" "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$seeds/$target" >"$log" 2>&1
    code=$?
    found=$(find "$findings" -type f -newer "$stamp" ! -name '.*' | sort)
    count=$(grep -c . <<<"$found")
    runs=$(final_stat number_of_executed_units "$log")
    rate=$(final_stat average_exec_per_sec "$log")
    line=$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$log" | tail -1)
    cov=$(sed -E 's/.*cov: ([0-9]+).*/\1/' <<<"$line")
    ft=$(sed -E 's/.* ft: ([0-9]+).*/\1/' <<<"$line")
    corp=$(sed -E 's/.*corp: ([0-9]+\/[0-9]+[a-zA-Z]*).*/\1/' <<<"$line")
    summary="$target: ${runs:-0} runs, ${rate:-0} exec/s, cov ${cov:-?} ft ${ft:-?}, corpus ${corp:-?}, $count findings"
    if [ "$code" = 0 ] && [ "$count" = 0 ]; then
        echo "ok   $summary"
    else
        status=1
        echo "FAIL $summary (exit $code; log build/fuzz/logs/$target.log)"
        for file in $found; do echo "     ${file#"$root"/}"; done
    fi
done
exit "$status"
