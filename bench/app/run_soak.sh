#!/usr/bin/env bash
# A month of use in one process under wine64 + Xvfb (soak_probe.cpp): the weather from the local
# stand-in service; prints the working set, handles and GDI/USER objects after the first thousand
# operations and at the end, and the log's lines by kind.
# Usage: bench/app/run_soak.sh [build dir, default build/win64] [percent of the full run, default 100]
# (the full run takes about 45 minutes, most of it in the 1,000 weather refreshes).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
PERCENT="${2:-100}"
[ -f "$BUILD/bin/soak_probe.exe" ] && [ -f "$BUILD/bin/tavrino_testable.exe" ] ||
  { echo "build soak_probe in $BUILD first"; exit 1; }
source "$ROOT/bench/app/stand_in_service.sh"
stand_in_service_scratch
source "$ROOT/bench/app/wine_session.sh"
wine_session_start ""
wine "$BUILD/bin/soak_probe.exe" "$service_url" "$PERCENT" 2>/dev/null </dev/null
wine_session_stop
