#!/usr/bin/env bash
# The hostile-server timings of the Windows HTTP edge under wine64 (natively: hostile_http_bench).
# Usage: bench/platform/run_hostile_probe.sh [build dir, default build/win64]
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
PROBE="$BUILD/bin/hostile_probe.exe"
[ -f "$PROBE" ] || { echo "build hostile_probe in $BUILD first"; exit 1; }
source "$ROOT/tools/wine-env.sh"
wineserver -p >/dev/null 2>&1
timeout 600 wine "$PROBE" </dev/null 2>/dev/null
