#!/usr/bin/env bash
# One picture of the running program's main window in each of the nine skins, joined into one
# PNG, for looking at them side by side.
#   tools/skingen/contact_sheet.sh OUT.png [BUILD_DIR]
# BUILD_DIR is a win64 build tree holding bin/app_program_tests.exe and tavrino.exe (default
# build/win64). Runs the program test that applies each skin, on a private Xvfb display.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
OUT="${1:?usage: contact_sheet.sh OUT.png [BUILD_DIR]}"
BUILD="${2:-$ROOT/build/win64}"
TEST="$BUILD/bin/app_program_tests.exe"
[ -f "$TEST" ] || { echo "contact_sheet: $TEST not found (build the win64 tree first)" >&2; exit 1; }
SHOTS="$(mktemp -d)"

source "$ROOT/tools/wine-env.sh"
source "$ROOT/tools/xvfb.sh"
[ -n "${DISPLAY:-}" ] || xvfb_start   # xvfb_stop only stops a display started here
trap 'rm -rf "$SHOTS"; xvfb_stop' EXIT
wineserver -p >/dev/null 2>&1 || true

(cd "$BUILD/bin" && TAVRINO_SHOT_DIR="$(winepath -w "$SHOTS")" \
   timeout 180 wine "$TEST" --gtest_filter='PopupTest.EveryViewOfTheNineSkins' --gtest_color=no)
files=()
for n in 1 2 3 4 5 6 7 8 9; do
  [ -s "$SHOTS/skin$n.bmp" ] || { echo "contact_sheet: no picture of skin $n" >&2; exit 1; }
  files+=(-label "skin $n" "$SHOTS/skin$n.bmp")
done
font=()
label_font="$(fc-match -f '%{file}' sans 2>/dev/null || true)"
[ -n "$label_font" ] && font=(-font "$label_font")
montage "${font[@]}" "${files[@]}" -tile 9x1 -geometry +6+6 -background '#d9dde3' "$OUT"
echo "contact_sheet: $OUT"
