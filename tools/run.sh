#!/usr/bin/env bash
# Sets the machine up, builds the Windows program and runs it under wine64, with the local
# stand-in for the outside web services.
#   bash tools/run.sh             the calendar window. With a DISPLAY it runs there until it is
#                                 closed; without one it runs on a private Xvfb screen with Wine's
#                                 desktop and taskbar, saves build/run/screenshot.png and stops.
#   bash tools/run.sh tvcal ...   the terminal calendar (tvcal month | day YYYY-MM-DD | dump FROM TO)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
bash tools/setup.sh

if [ "${1:-}" = tvcal ]; then
  shift
  [ -f build/native/CMakeCache.txt ] || cmake --preset native >/dev/null
  cmake --build --preset native --target tvcal tv_user_dat >/dev/null
  exec build/native/bin/tvcal "$@"
fi

[ -f build/win64/CMakeCache.txt ] || cmake --preset win64 >/dev/null
echo "run: building tavrino.exe"
cmake --build --preset win64 --target tavrino tv_user_dat tv_skin15 >/dev/null

# A run folder of its own: the program, its skin and a user.dat that keeps the user's settings.
RUN="$ROOT/build/run"
mkdir -p "$RUN"
cp build/win64/bin/tavrino.exe "$RUN/"
rm -rf "$RUN/skin15"; cp -r build/win64/bin/skin15 "$RUN/"
[ -f "$RUN/user.dat" ] || cp build/win64/bin/user.dat "$RUN/"

# The outside services, served on loopback.
port_file=$(mktemp)
python3 tools/devservice/devservice.py --port 0 --port-file "$port_file" >/dev/null 2>&1 &
DEVSERVICE_PID=$!
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$port_file")"; rm -f "$port_file"
for key in svc_forecast svc_weather2 svc_air svc_iplocation svc_stats svc_meteo svc_meteo_air; do
  sqlite3 "$RUN/user.dat" "delete from userconfig where name = '$key'; insert into userconfig (name,value) values ('$key','$url');"
done
echo "run: outside services stand-in at $url"

source tools/wine-env.sh
source tools/xvfb.sh
HEADLESS=0
if [ -z "${DISPLAY:-}" ]; then HEADLESS=1; xvfb_start; fi
WINE_PID=""
cleanup() {
  [ -n "$WINE_PID" ] && { wine taskkill /f /im tavrino.exe >/dev/null 2>&1 || true; kill "$WINE_PID" 2>/dev/null || true; }
  kill "$DEVSERVICE_PID" 2>/dev/null || true
  # The private screen's Wine session (its desktop included) ends with it: a wineserver left
  # behind would hand that desktop to whatever starts next in this prefix, the tests included.
  [ $HEADLESS = 1 ] && { wineserver -k >/dev/null 2>&1; xvfb_stop; }
  return 0
}
trap cleanup EXIT
# Keeps Wine up between the steps below; it fails harmlessly when a server is already up (a test
# run or a benchmark leaves one behind).
wineserver -p >/dev/null 2>&1 || true

if [ $HEADLESS = 0 ]; then
  echo "run: starting tavrino.exe on $DISPLAY (close it from its window or press Ctrl-C)"
  (cd "$RUN" && wine tavrino.exe </dev/null)
  exit 0
fi

echo "run: starting tavrino.exe on Wine's desktop (Xvfb $DISPLAY)"
(cd "$RUN" && exec wine explorer /desktop=shell,1280x800 tavrino.exe </dev/null >/dev/null 2>&1) &
WINE_PID=$!
# Wine's desktop, the program's first paint and the first weather answer take a few seconds.
sleep 12
import -window root -display "$DISPLAY" "$RUN/screenshot.png"
echo "run: the window is up; screenshot saved to $RUN/screenshot.png"
