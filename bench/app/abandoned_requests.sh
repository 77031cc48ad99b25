#!/usr/bin/env bash
# Requests given up at their deadline, against a statistics service that sends its headers one
# byte a second (the stand-in service's "drip" switch), under wine64 + Xvfb: every 5 s, the
# connections the service is still dripping to, the program's threads and the deadlines the log
# has reported so far. A request past its deadline must have let its connection and its thread go
# within 2 s: the connections never exceed the requests still inside their deadlines (one at a
# time here: the program asks again 30 s after each 30 s deadline), and the threads come back to
# their idle figure.
# Usage: bench/app/abandoned_requests.sh [build dir, default build/win64] [seconds, default 300]
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
SECONDS_RUN="${2:-300}"
source "$ROOT/bench/app/program_folder.sh"
program_folder_needed
source "$ROOT/bench/app/stand_in_service.sh"
stand_in_service_scratch
base="$service_url/_/drip"

program_folder_copy "$work/app"
sqlite3 "$work/app/user.dat" "delete from userconfig where name='svc_stats';
                              insert into userconfig (name,value) values ('svc_stats','$base');"
source "$ROOT/bench/app/wine_session.sh"
wine_session_start ""
(cd "$work/app" && exec wine "$work/app/tavrino.exe" -noshow >/dev/null 2>&1 </dev/null) &
sleep 3
pid=$(pgrep -f "$work/app/tavrino.exe" | head -1)
dripping() { curl -s -m 2 "$base/stats-dripping" | python3 -c 'import json,sys; print(json.load(sys.stdin)["dripping"])'; }
deadlines() { cat "$work"/app/*.log 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null | grep -c "status 12002"; }
printf '%6s %10s %8s %10s\n' seconds connections threads deadlines
most=0; fewest=9999; highest=0
for t in $(seq 5 5 "$SECONDS_RUN"); do
  sleep 5
  [ -n "$pid" ] && [ -d "/proc/$pid" ] || { echo "the program ended"; break; }
  c=$(dripping); n=$(ls "/proc/$pid/task" | wc -l); d=$(deadlines)
  printf '%6s %10s %8s %10s\n' "$t" "$c" "$n" "$d"
  [ "${c:-0}" -gt "$most" ] && most=$c
  [ "$n" -lt "$fewest" ] && fewest=$n
  [ "$n" -gt "$highest" ] && highest=$n
done
echo "most connections open at once: $most; threads between $fewest and $highest"
[ -n "$pid" ] && kill "$pid" 2>/dev/null
wine_session_stop
