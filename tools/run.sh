#!/usr/bin/env bash
# Sets the machine up, builds the native tree and shows the current month with tvcal.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
bash tools/setup.sh
[ -f build/native/CMakeCache.txt ] || cmake --preset native >/dev/null
cmake --build --preset native --target tvcal >/dev/null
exec build/native/bin/tvcal "$@"
