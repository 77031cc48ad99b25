#!/usr/bin/env bash
# Sets the machine up, builds the native, win64 and win32 trees, and runs every test:
# the native suite directly and the win64 suite under wine64 (with Xvfb for real windows).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
bash tools/setup.sh || exit 1

build() {  # preset
  if [ ! -f "build/$1/CMakeCache.txt" ]; then
    cmake --preset "$1" >"build/$1.configure.log" 2>&1 || { cat "build/$1.configure.log"; return 1; }
  fi
  echo "check: building $1"
  cmake --build --preset "$1" -- -k 0 2>&1 | grep -Ev '^\[[0-9]+/[0-9]+\]' || true
  [ "${PIPESTATUS[0]}" = 0 ]
}
mkdir -p build
status=0
for p in native win64 win32; do build "$p" || { echo "check: build $p FAILED"; status=1; }; done

source tools/wine-env.sh
source tools/xvfb.sh
xvfb_start
wineserver -p >/dev/null 2>&1
# Start Wine's helper processes now, detached from any test's output.
wine cmd /c exit >/dev/null 2>&1 </dev/null
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  xvfb_stop
}
trap cleanup EXIT

# One CTest tree over both suites, so that the run ends with a single summary.
mkdir -p build/all
{
  echo "subdirs(\"$ROOT/build/native\")"
  echo "subdirs(\"$ROOT/build/win64\")"
} > build/all/CTestTestfile.cmake
ctest --test-dir build/all --output-on-failure --timeout 600 -j2 "$@"
rc=$?
[ $status = 0 ] || rc=1
exit $rc
