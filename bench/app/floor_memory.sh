#!/usr/bin/env bash
# Resident memory (VmRSS) of the program and of the floor (../shared/floor/floor.c: one top-most
# window of the calendar's size with a back buffer, CJK text, four idle threads and a message
# loop) in the same Wine session, each after its window is shown and idle.
# Usage: bench/app/floor_memory.sh [build dir, default build/win64] [floor.c] [seconds idle, default 8]
# With TAVRINO_BY_MAPPING=1 it also prints where the difference lies, mapping by mapping
# (resident_by_mapping.py), and each process's thread count.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
FLOOR_C="${2:-$ROOT/../shared/floor/floor.c}"
IDLE="${3:-8}"
PROGRAM="$BUILD/bin/tavrino.exe"
[ -x "$PROGRAM" ] || PROGRAM="$BUILD/bin/tavrino_testable.exe"
[ -x "$PROGRAM" ] && [ -f "$FLOOR_C" ] || { echo "build tavrino in $BUILD first; floor source: $FLOOR_C"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-gcc-posix -O2 -municode -mwindows -o "$work/floor.exe" "$FLOOR_C" || exit 1
# The program from a scratch copy of its folder (its log and settings stay out of the build).
mkdir -p "$work/app"
cp -r "$BUILD/bin/skin15" "$BUILD/bin/user.dat" "$PROGRAM" "$work/app/"
cp "$BUILD"/bin/*.dll "$work/app/" 2>/dev/null
source "$ROOT/bench/app/wine_session.sh"
wine_session_start ""
# The Linux process running the Windows program at this (scratch, unique) path.
pid_of() { pgrep -f "$1" | head -1; }
measure() {  # name, program path
  (cd "$(dirname "$2")" && wine "$2" >/dev/null 2>&1 </dev/null &)
  sleep "$IDLE"
  local pid kib=""
  pid=$(pid_of "$2")
  [ -n "$pid" ] && kib=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  printf '%-22s %8s KiB  %6.1f MiB' "$1" "$kib" "$(echo "${kib:-0} / 1024" | bc -l)" >&2
  if [ -n "$pid" ] && [ -n "${TAVRINO_BY_MAPPING:-}" ]; then
    cp "/proc/$pid/smaps" "$work/$1.smaps"
    printf '  %s threads' "$(ls "/proc/$pid/task" | wc -l)" >&2
  fi
  echo >&2
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  sleep 1
  echo "${kib:-0}"
}
# The program as it runs for weeks: started with autostart on, so the periodic autostart prompt (a
# second window, shown at a first start) is not due. TAVRINO_FIRST_START=1 measures a first start,
# prompt included.
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
if [ -z "${TAVRINO_FIRST_START:-}" ]; then
  wine reg add "$run_key" /v tavrino /t REG_SZ /d "\"$(winepath -w "$work/app/$(basename "$PROGRAM")")\" -autostart" \
    /f >/dev/null 2>&1 </dev/null
fi
f=$(measure floor "$work/floor.exe")
p=$(measure program "$work/app/$(basename "$PROGRAM")")
[ "$f" -gt 0 ] && printf 'program / floor        %.2f\n' "$(echo "$p / $f" | bc -l)"
if [ -n "${TAVRINO_BY_MAPPING:-}" ] && [ -f "$work/floor.smaps" ] && [ -f "$work/program.smaps" ]; then
  python3 "$ROOT/bench/app/resident_by_mapping.py" "$work/floor.smaps" "$work/program.smaps"
fi
[ -z "${TAVRINO_FIRST_START:-}" ] && wine reg delete "$run_key" /v tavrino /f >/dev/null 2>&1 </dev/null
wine_session_stop
