#!/usr/bin/env bash
# Longer runs of the hardening cases under wine64 + Xvfb, too slow for CTest; prints one line each:
#   double starts   N times two starts of tavrino.exe at the same moment, each pair from a fresh
#                   copy of the program folder: how often exactly one of them stayed (the other
#                   ended with 0 and no window) and "pragma integrity_check" of user.dat said ok
#                   after the survivor was closed
#   deep document   the statistics service answers a document nested 30,000 levels deep: how many
#                   times the program asked within 70 s (it asks again every 30 s while it has no
#                   document), whether the log says it was refused, and whether it ended cleanly
# Usage: bench/app/run_hardening_checks.sh [build dir, default build/win64] [double starts, default 20]
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
RUNS="${2:-20}"
source "$ROOT/bench/app/program_folder.sh"
program_folder_needed

work=$(mktemp -d)
source "$ROOT/bench/app/wine_session.sh"
wine_session_start

# Sets a userconfig value of the folder's user.dat.
set_config() {
  sqlite3 "$1/user.dat" "delete from userconfig where name='$2'; insert into userconfig (name,value) values ('$2','$3');"
}
# Ends the program of a folder the orderly way (the window's close), by force after 15 s.
end_program() {
  local pid=$1
  wine taskkill /im tavrino.exe >/dev/null 2>&1 </dev/null
  for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    wine taskkill /f /im tavrino.exe >/dev/null 2>&1 </dev/null
    wait "$pid" 2>/dev/null
    return 1
  fi
  wait "$pid" 2>/dev/null
  return 0
}

one=0; clean=0; forced=0
for run in $(seq "$RUNS"); do
  dir="$work/double$run"
  program_folder_copy "$dir"
  ( cd "$dir" && exec wine tavrino.exe -noshow >/dev/null 2>&1 </dev/null ) &
  a=$!
  ( cd "$dir" && exec wine tavrino.exe -noshow >/dev/null 2>&1 </dev/null ) &
  b=$!
  loser=""
  for _ in $(seq 200); do
    if ! kill -0 $a 2>/dev/null; then loser=$a; winner=$b; break; fi
    if ! kill -0 $b 2>/dev/null; then loser=$b; winner=$a; break; fi
    sleep 0.1
  done
  if [ -n "$loser" ]; then
    wait "$loser"; code=$?
    sleep 3  # the winner must still run
    kill -0 "$winner" 2>/dev/null && [ "$code" = 0 ] && one=$((one + 1))
    end_program "$winner" || forced=$((forced + 1))
  else
    echo "run $run: both starts still run after 20 s"
    end_program $a; end_program $b
  fi
  [ "$(sqlite3 "$dir/user.dat" 'pragma integrity_check')" = ok ] && clean=$((clean + 1))
done
echo "double starts: $one of $RUNS with exactly one instance, integrity ok $clean of $RUNS (closed by force: $forced)"

python3 "$ROOT/tools/devservice/devservice.py" --port 0 --port-file "$work/port" >"$work/devservice.log" 2>&1 </dev/null &
service=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
base="http://127.0.0.1:$(cat "$work/port")/_/deep"
dir="$work/deep"
program_folder_copy "$dir"
set_config "$dir" svc_stats "$base"
( cd "$dir" && exec wine tavrino.exe -noshow >/dev/null 2>&1 </dev/null ) &
pid=$!
sleep 70
asked=$(curl -s "$base/stats-received" | python3 -c 'import json,sys; print(len(json.load(sys.stdin)["reports"]))')
end_program "$pid" && ended=cleanly || ended="by force"
log=$(cat "$dir"/*.log 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\r')
refused=$(grep -c "nested more than 48 levels deep" <<<"$log")
late=$(grep -c "did not end in time" <<<"$log")
echo "deep document: asked $asked times in 70 s, refused $refused times, ended $ended, worker late at exit: $late"
kill $service 2>/dev/null
wait $service 2>/dev/null
wine_session_stop
rm -rf "$work"
