#!/usr/bin/env bash
# Whole-program timings of tavrino.exe under wine64 + Xvfb:
#   start     cold start to the first painting of the visible window, measured by the program itself
#             from its entry point (Wine's own start-up excluded) and from process creation
#   rebuild   one month rebuild on a click (grid rebuilt, laid out and painted): mean, median and
#             slowest of 50 (the slowest is a change between five and six rows)
#   memory    working set after showing a month
#   hostile   start with user.dat locked by another connection; exit during a stalled weather request
# Usage: bench/app/run_app_bench.sh [build dir, default build/win64] [runs, default 5] [DPI]
# With a DPI (96, 144, 192, ...) the Wine prefix's display scale is set to it for the run and put
# back afterwards, on a screen of that scale's size.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
RUNS="${2:-5}"
DPI="${3:-}"
PROBE="$BUILD/bin/app_bench_probe.exe"
[ -x "$BUILD/bin/tavrino_testable.exe" ] && [ -f "$PROBE" ] || { echo "build tavrino_testable and app_bench_probe in $BUILD first"; exit 1; }
source "$ROOT/bench/app/wine_session.sh"
wine_session_start "$DPI"
out=$(mktemp)
timeout 300 wine "$PROBE" "$RUNS" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
wine_session_stop
exit $rc
