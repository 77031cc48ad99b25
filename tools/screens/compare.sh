#!/usr/bin/env bash
# Pictures of the program's windows, taken under wine64 + Xvfb, and their comparison with another
# set, pixel by pixel (ImageMagick's "compare -metric AE": the count of differing pixels).
#   tools/screens/compare.sh capture OUT_DIR [BUILD_DIR]   the main window in every skin at 96 and
#                                                          192 DPI, and each pop-up at both
#   tools/screens/compare.sh diff BEFORE_DIR AFTER_DIR     one line per picture; exit 1 on a difference
# BUILD_DIR is a win64 build tree with bin/screens_probe.exe (default build/win64). The weather comes
# from the local stand-in; the program's clock is moved to a fixed moment. The clock's digits tick,
# so their place is left out of the comparison.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

capture() {
  local out="${1:?usage: compare.sh capture OUT_DIR [BUILD_DIR]}" build="${2:-$ROOT/build/win64}"
  local probe="$build/bin/screens_probe.exe"
  [ -f "$probe" ] || { echo "screens: build screens_probe in $build first" >&2; return 1; }
  mkdir -p "$out"; out="$(cd "$out" && pwd)"
  local dir; dir=$(mktemp -d)
  python3 "$ROOT/tools/devservice/devservice.py" --port 0 --port-file "$dir/port" >/dev/null 2>&1 &
  local service=$!
  for _ in $(seq 50); do [ -s "$dir/port" ] && break; sleep 0.1; done
  local url="http://127.0.0.1:$(cat "$dir/port")"
  source "$ROOT/tools/wine-env.sh"
  source "$ROOT/tools/xvfb.sh"
  local status=0 dpi
  for dpi in 96 192; do
    # A fresh Wine session on a screen of the scale's size, the scale set before anything starts.
    export TAVRINO_SCREEN="$((1280 * dpi / 96))x$((800 * dpi / 96))"
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
    xvfb_start
    wineserver -p >/dev/null 2>&1
    set_dpi "$dpi"
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; wineserver -p >/dev/null 2>&1
    mkdir -p "$out/$dpi"
    timeout 900 wine "$probe" "$(winepath -w "$out/$dpi")" "$url" </dev/null >"$out/$dpi/probe.log" 2>"$out/$dpi/probe.err" || status=1
    tr -d '\r' <"$out/$dpi/probe.log" | sed "s|^|screens: $dpi dpi: |"
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
    xvfb_stop
  done
  set_dpi 96; wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  kill "$service" 2>/dev/null; rm -rf "$dir"
  # The BMP pictures as PNG, for one kind of file.
  local f; for f in "$out"/*/*.bmp; do [ -f "$f" ] && convert "$f" "${f%.bmp}.png" && rm -f "$f"; done
  return $status
}

# The clock's digits (client 0..160 x 30..86 in 96-DPI units) painted over in the main windows.
masked() {  # picture dpi out
  local s=$(( $2 / 96 ))
  case "$(basename "$1")" in
    main-*) convert "$1" -fill magenta -draw "rectangle 0,$((30 * s)) $((160 * s)),$((86 * s))" "$3" ;;
    *) cp "$1" "$3" ;;
  esac
}

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
    /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
}

diff_sets() {
  local before="${1:?usage: compare.sh diff BEFORE_DIR AFTER_DIR}" after="${2:?}"
  local tmp; tmp=$(mktemp -d)
  local status=0 total=0 differing=0 f dpi name ae
  for f in "$before"/*/*.png; do
    dpi=$(basename "$(dirname "$f")"); name=$(basename "$f")
    total=$((total + 1))
    if [ ! -f "$after/$dpi/$name" ]; then echo "$dpi/$name: missing after"; status=1; differing=$((differing + 1)); continue; fi
    masked "$f" "$dpi" "$tmp/a.png"; masked "$after/$dpi/$name" "$dpi" "$tmp/b.png"
    if [ "$(identify -format %wx%h "$tmp/a.png")" != "$(identify -format %wx%h "$tmp/b.png")" ]; then
      ae="size $(identify -format %wx%h "$tmp/a.png") -> $(identify -format %wx%h "$tmp/b.png")"
    else
      ae=$(compare -metric AE "$tmp/a.png" "$tmp/b.png" "$tmp/d.png" 2>&1 >/dev/null)
    fi
    echo "$dpi/$name: AE $ae"
    [ "$ae" = 0 ] || { status=1; differing=$((differing + 1)); }
  done
  echo "screens: $total pictures, $differing differ"
  rm -rf "$tmp"
  return $status
}

case "${1:-}" in
  capture) shift; capture "$@" ;;
  diff) shift; diff_sets "$@" ;;
  *) sed -n 2,10p "$0" >&2; exit 2 ;;
esac
