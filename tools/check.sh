#!/usr/bin/env bash
# Sets the machine up, builds the native, win64 and win32 trees with warnings as errors and the
# native tree twice more with sanitizers, and runs every test: the native suite under
# AddressSanitizer + UndefinedBehaviorSanitizer and under ThreadSanitizer, then the native suite
# directly and the win64 suite under wine64 (with Xvfb for real windows) with one summary.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
bash tools/setup.sh || exit 1
# The layering of includes first: a breach fails the run before anything is built.
python3 tools/check_layers.py || { echo "check: FAILED (layering, see above)" >&2; exit 1; }

build() {  # preset
  # Configured every time (quick on a configured tree), so that a changed option or a configure
  # that failed last time is never skipped. Warnings in our code are errors here.
  if ! cmake --preset "$1" -DTAVRINO_WERROR=ON >"build/$1.configure.log" 2>&1; then
    cat "build/$1.configure.log"
    echo "check: configure of $1 FAILED" >&2
    rm -f "build/$1/CMakeCache.txt"
    return 1
  fi
  echo "check: building $1"
  local rc
  cmake --build --preset "$1" -- -k 0 >"build/$1.build.log" 2>&1
  rc=$?
  grep -Ev '^\[[0-9]+/[0-9]+\]' "build/$1.build.log"
  return $rc
}
mkdir -p build
# Never test stale binaries: the first tree that fails to configure or build ends the run (the
# trees after it would only spend CI time on the same error).
for p in native win64 win32 native-asan native-tsan; do
  if ! build "$p"; then
    echo "check: build $p FAILED" >&2
    echo "check: FAILED (build); no tests were run" >&2
    exit 1
  fi
done

# The native suite under the sanitizers first: a report ends the test program with an error.
sanitized=0
for p in native-asan native-tsan; do
  echo "check: native suite under $p"
  if ! ctest --preset "$p" --timeout 900 -j2 "$@" >"build/$p.test.log" 2>&1; then
    grep -E 'tests passed|\*\*\*|Failed|ERROR: (Address|Thread|Undefined)|runtime error|WARNING: ThreadSanitizer' \
      "build/$p.test.log" | head -60
    echo "check: $p suite FAILED (full output in build/$p.test.log)" >&2
    sanitized=1
  else
    grep -E 'tests passed' "build/$p.test.log"
  fi
done

source tools/wine-env.sh
source tools/xvfb.sh
xvfb_start || { echo "check: FAILED: no X display for the window tests" >&2; exit 1; }
# Window tests fail instead of skipping when they find no display.
export TAVRINO_REQUIRE_DISPLAY=1
# A fresh Wine session: a wineserver still running in this prefix (from tools/run.sh, say) would
# keep its own desktop, under which windows take pointer input differently.
wineserver -k >/dev/null 2>&1
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
if [ $sanitized != 0 ]; then
  echo "check: FAILED: a sanitizer suite failed (see above)" >&2
  rc=1
fi
exit $rc
