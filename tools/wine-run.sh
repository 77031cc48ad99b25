#!/usr/bin/env bash
# Runs a Windows program under wine64 with the project's prefix (CTest's cross-compiling emulator).
# Wine's long-lived helper processes inherit the descriptors of the program that started them;
# the output goes through a file so that they never hold the caller's pipes open.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'cat "$out"; rm -f "$out"' EXIT
wine "$@" >"$out" 2>&1 </dev/null
