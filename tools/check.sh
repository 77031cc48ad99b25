#!/usr/bin/env bash
# Sets the machine up, builds the win64 and win32 trees and the native tree twice, with
# AddressSanitizer + UndefinedBehaviorSanitizer and with ThreadSanitizer (warnings as errors in all),
# and runs every test: the native suite under ThreadSanitizer, then the native suite under
# AddressSanitizer + UndefinedBehaviorSanitizer and the win64 suite under wine64 (with Xvfb for real
# windows) side by side, with one summary. (The plain native tree is the developers': the native
# suite already runs, with the same compiler's warnings, in the sanitizer trees.)
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
# Each stage reports how long it took, so that a slow run shows where its time went.
stage_start=$SECONDS
stage_done() { echo "check: $1 took $((SECONDS - stage_start)) s"; stage_start=$SECONDS; }
bash tools/setup.sh || exit 1
stage_done setup
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
  stage_done "building $1"
  return $rc
}
mkdir -p build
# A compiler cache, where the machine keeps one from an earlier run, spares the rebuild of what did
# not change (it is read when a tree is first configured).
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true
fi
# Never test stale binaries: the first tree that fails to configure or build ends the run (the
# trees after it would only spend CI time on the same error).
for p in win64 win32 native-asan native-tsan; do
  if ! build "$p"; then
    echo "check: build $p FAILED" >&2
    echo "check: FAILED (build); no tests were run" >&2
    exit 1
  fi
done

# The native suite under ThreadSanitizer first: a report ends the test program with an error.
sanitized=0
echo "check: native suite under native-tsan"
if ! ctest --preset native-tsan --timeout 900 -j2 "$@" >"build/native-tsan.test.log" 2>&1; then
  grep -E 'tests passed|\*\*\*|Failed|ERROR: ThreadSanitizer|WARNING: ThreadSanitizer' \
    "build/native-tsan.test.log" | head -60
  echo "check: native-tsan suite FAILED (full output in build/native-tsan.test.log)" >&2
  sanitized=1
else
  grep -E 'tests passed' "build/native-tsan.test.log"
fi
stage_done "the suite under native-tsan"

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

# One CTest tree over both suites, so that the run ends with a single summary. A sanitizer report
# ends its test program with an error, as in the native-asan test preset.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p build/all
{
  echo "subdirs(\"$ROOT/build/native-asan\")"
  echo "subdirs(\"$ROOT/build/win64\")"
} > build/all/CTestTestfile.cmake
# A window test that fails is run once more before it counts: a few of them drive real input and a
# second process's UI Automation under Wine, which now and then stalls on a busy machine. A fault
# fails both runs; every first failure stays in the log above the summary.
ctest --test-dir build/all --output-on-failure --timeout 600 -j2 --repeat until-pass:2 "$@"
rc=$?
stage_done "the native (AddressSanitizer) and win64 suites"
echo "check: the whole run took $SECONDS s"
if [ $sanitized != 0 ]; then
  echo "check: FAILED: a sanitizer suite failed (see above)" >&2
  rc=1
fi
exit $rc
