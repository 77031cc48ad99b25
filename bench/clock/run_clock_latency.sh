#!/usr/bin/env bash
# Click on the taskbar clock -> message 10025 and -> a window shown and painted, under wine64 + Xvfb,
# on both roads: real clicks on the Windows 10-style stand-in's clock (the hook library inside it,
# the listener in the probe), then on the Windows 11-style stand-in's clock button (the locator and
# the pointer hook in the probe, with the hook procedure's own time).
# Usage: bench/clock/run_clock_latency.sh [build dir, default build/win64] [clicks, default 40]
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
CLICKS="${2:-40}"
PROBE="$BUILD/bin/clock_latency_probe.exe"
[ -f "$PROBE" ] && [ -f "$BUILD/bin/tvrshell64.dll" ] && [ -f "$BUILD/bin/standin/explorer.exe" ] &&
  [ -f "$BUILD/bin/standin11/explorer.exe" ] ||
  { echo "build clock_latency_probe in $BUILD first"; exit 1; }
source "$ROOT/tools/wine-env.sh"
source "$ROOT/tools/xvfb.sh"
own_display=0
if [ -z "${DISPLAY:-}" ]; then xvfb_start; own_display=1; fi
wineserver -p >/dev/null 2>&1
wine cmd /c exit >/dev/null 2>&1 </dev/null
out=$(mktemp)
timeout 300 wine "$PROBE" "$CLICKS" >"$out" 2>&1 </dev/null
rc=$?
timeout 300 wine "$PROBE" --tray-buttons "$CLICKS" >>"$out" 2>&1 </dev/null
rc2=$?
[ $rc = 0 ] && rc=$rc2
cat "$out"
rm -f "$out"
[ $own_display = 1 ] && xvfb_stop
exit $rc
