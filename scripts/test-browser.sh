#!/usr/bin/env bash
# The web edition in a real browser: node's test runner drives Debian's
# headless Chromium over the sample pages and <zel-movie>, served on
# 127.0.0.1 (tests/browser). Needs the native preset's moviegen and the web
# preset's staged front end (examples/zel). Prints node's TAP report; exits
# non-zero if a test failed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
exec node --test --test-concurrency=1 tests/browser/
