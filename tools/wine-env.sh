# Environment for running the Windows build under wine64. Source it.
export WINEPREFIX="${TAVRINO_WINEPREFIX:-$HOME/.cache/tavrino/wine64}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
