#!/usr/bin/env bash
# Renders every skin file of skin15/ with the skin viewer into PNG files, for looking at them.
#   tools/skingen/screenshots.sh OUT_DIR [BUILD_DIR]
# BUILD_DIR is a win64 build tree holding bin/skinviewer.exe (default build/win64). Runs the viewer
# under wine64 on a private Xvfb display, with a persistent wineserver.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
OUT="${1:?usage: screenshots.sh OUT_DIR [BUILD_DIR]}"
BUILD="${2:-$ROOT/build/win64}"
VIEWER="$BUILD/bin/skinviewer.exe"
[ -f "$VIEWER" ] || { echo "screenshots: $VIEWER not found (build the win64 tree first)" >&2; exit 1; }
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"

source "$ROOT/tools/wine-env.sh"
source "$ROOT/tools/xvfb.sh"
wineserver -p >/dev/null 2>&1 || true
started_display=0
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start
  started_display=1
fi
trap '[ $started_display = 1 ] && xvfb_stop' EXIT

windows=(DlgMain DlgWeather DlgCity tooltip MenuWnd set skin about surveys)
items=(day sevendays)
status=0
shot() {  # xml file, extra viewer option
  local name=$1 extra=${2:-}
  if timeout 60 wine "$VIEWER" "$ROOT/skin15" "$name.xml" "$OUT/$name.png" $extra >"$OUT/$name.log" 2>&1 \
     && [ -s "$OUT/$name.png" ]; then
    echo "screenshots: $name.png"
  else
    echo "screenshots: $name failed (see $OUT/$name.log)" >&2
    status=1
  fi
}
for w in "${windows[@]}"; do shot "$w"; done
for i in "${items[@]}"; do shot "$i" --item; done
exit $status
