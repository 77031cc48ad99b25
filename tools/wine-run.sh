#!/usr/bin/env bash
# Runs a Windows program under wine64 with the project's prefix (CTest's cross-compiling emulator).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
