# Wine and a display for the scripts of this folder. Source it with ROOT set, then call
# wine_session_start [DPI] before and wine_session_stop after the measured work.
source "$ROOT/tools/wine-env.sh"
source "$ROOT/tools/xvfb.sh"
own_display=0
session_dpi=""
# wine_session_start [DPI]: with a DPI (96, 144, 192, ...), the prefix's display scale is set to it
# for the session, on a screen of that scale's size (a 200 % display is 2560 x 1600: on a smaller
# one a six-row month would not fit, and the window would reach under the pointer in the screen's
# middle). The wineserver is ended before and after such a session: one kept from a session on a
# screen of another size keeps that size for its windows.
wine_session_start() {
  session_dpi="${1:-}"
  if [ -n "$session_dpi" ]; then
    export TAVRINO_SCREEN="$((1280 * session_dpi / 96))x$((800 * session_dpi / 96))"
    wineserver -k >/dev/null 2>&1
  fi
  if [ -z "${DISPLAY:-}" ]; then xvfb_start; own_display=1; fi
  wineserver -p >/dev/null 2>&1
  # Wine's helpers up before anything is timed.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  wine_use_dpi "$session_dpi"
}
wine_session_stop() {
  [ -n "$previous_dpi" ] && wine_set_dpi "$previous_dpi"
  previous_dpi=""
  [ $own_display = 1 ] && xvfb_stop
  [ -n "$session_dpi" ] && wineserver -k >/dev/null 2>&1
  return 0
}
# The display scale (LogPixels) of the Wine prefix, for the programs started after it, in both
# places Wine reads it from. wine_use_dpi DPI sets it for the session (nothing when DPI is empty);
# wine_session_stop puts the previous one back.
previous_dpi=""
wine_set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
    /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
}
wine_dpi() {
  local hex
  hex=$(wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null </dev/null | tr -d '\r' |
        awk '$1 == "LogPixels" { print $3 }')
  echo $(( ${hex:-96} ))
}
wine_use_dpi() {
  [ -n "${1:-}" ] || return 0
  [ -n "$previous_dpi" ] || previous_dpi=$(wine_dpi)
  wine_set_dpi "$1"
  echo "display scale: $1 DPI"
}
