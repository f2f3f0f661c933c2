#!/usr/bin/env bash
# Every test: installs what is missing, builds every preset, runs the native,
# sanitizer, win64 (Wine) and web (WebAssembly under node) tests and the
# browser tests (headless Chromium), builds the shipped win32 tree and runs
# each fuzz target for 20 s. Prints one closing line with the totals (tests
# that skipped themselves counted apart); exits non-zero if anything failed.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh || exit 1

status=0
passed=0
failed=0
skipped=0

step() {
    echo "== $*"
    "$@" || { echo "== FAILED: $*"; status=1; return 1; }
}

for preset in native native-asan native-tsan win64 win32 fuzz web; do
    step cmake --preset "$preset" >/dev/null || continue
    step cmake --build --preset "$preset" || true
done

for preset in native native-asan native-tsan win64 web; do
    log="build/$preset/ctest.log"
    echo "== ctest --preset $preset"
    retry=()
    # Now and then a Windows test program that passed leaves Wine with a
    # nonzero exit code; such a test gets one more run. A test that fails
    # twice still fails, and every first failure stays in the log.
    [ "$preset" = win64 ] && retry=(--repeat until-pass:2)
    ctest --preset "$preset" "${retry[@]}" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" = 0 ] || status=1
    if [ "$preset" = win64 ] && grep -q -E '\*\*\*Failed|\*\*\*Exception' "$log"; then
        echo "== failed under Wine at least once (each such test ran again; see the summary):"
        grep -E '\*\*\*Failed|\*\*\*Exception' "$log" | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+).*/   \1/'
    fi
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$summary" ]; then
        echo "== ctest --preset $preset printed no summary"
        status=1
        continue
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    # CTest counts a skipped test as passed; its reason is in the log.
    skips=$(grep -c -E '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log" || true)
    passed=$((passed + total - bad - skips))
    failed=$((failed + bad))
    skipped=$((skipped + skips))
done

echo "== scripts/test-browser.sh"
log=build/web/browser.log
mkdir -p build/web
bash scripts/test-browser.sh >"$log" 2>&1 || status=1
grep -E '^(not )?ok |^# (tests|pass|fail)' "$log"
browserPassed=$(sed -n -E 's/^# pass ([0-9]+)$/\1/p' "$log")
browserFailed=$(sed -n -E 's/^# fail ([0-9]+)$/\1/p' "$log")
if [ -z "$browserPassed" ]; then
    echo "== the browser tests printed no summary (see $log)"
    tail -20 "$log"
    status=1
fi
passed=$((passed + ${browserPassed:-0}))
failed=$((failed + ${browserFailed:-0}))

echo "== the shipped binaries"
checks=$(bash scripts/check-deliverables.sh)
[ $? = 0 ] || status=1
echo "$checks"
passed=$((passed + $(grep -c '^ok ' <<<"$checks")))
failed=$((failed + $(grep -c '^FAIL ' <<<"$checks")))

echo "== scripts/fuzz.sh 20"
fuzzed=$(bash scripts/fuzz.sh 20)
[ $? = 0 ] || status=1
echo "$fuzzed"
passed=$((passed + $(grep -c '^ok ' <<<"$fuzzed")))
failed=$((failed + $(grep -c '^FAIL ' <<<"$fuzzed")))

[ "$status" = 0 ] && [ "$failed" = 0 ] || status=1
echo
echo "$passed passed, $failed failed, $skipped skipped"
exit "$status"
