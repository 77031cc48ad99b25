#!/usr/bin/env bash
# How long tavrino.exe takes to end under wine64 + Xvfb, from the quit (the tray menu's command to
# the main window) to the end of its process, median of several runs, in three cases:
#   plain             no outside service configured
#   silent weather    the weather services never answer: the start-up refresh is stalled at the quit
#   silent statistics the statistics service holds its request: the exchange is stalled at the quit
# Usage: bench/app/run_exit_bench.sh [build dir, default build/win64] [runs, default 5]
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
RUNS="${2:-5}"
PROBE="$BUILD/bin/exit_bench_probe.exe"
[ -x "$BUILD/bin/tavrino_testable.exe" ] && [ -f "$PROBE" ] && [ -f "$BUILD/bin/user.dat" ] ||
  { echo "build tavrino_testable, tv_user_dat and exit_bench_probe in $BUILD first"; exit 1; }

work=$(mktemp -d)
python3 "$ROOT/tools/devservice/devservice.py" --port 0 --port-file "$work/port" --timeout-seconds 60 \
  >"$work/devservice.log" 2>&1 </dev/null &
service=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "devservice did not start"; cat "$work/devservice.log"; kill $service; exit 1; }
base="http://127.0.0.1:$(cat "$work/port")"

source "$ROOT/bench/app/wine_session.sh"
wine_session_start
rc=0
probe() {
  local label=$1; shift
  printf '%-18s ' "$label"
  timeout 600 wine "$PROBE" "$RUNS" "$@" 2>/dev/null </dev/null | tr -d '\r' || rc=1
}
probe plain
probe "silent weather" "svc_forecast=$base/_/timeout" "svc_weather2=$base/_/timeout" "svc_air=$base/_/timeout"
probe "silent statistics" "svc_stats=$base/_/silent"
wine_session_stop
kill $service 2>/dev/null
wait $service 2>/dev/null
rm -rf "$work"
exit $rc
