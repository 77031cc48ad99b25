# Wine and a display for the scripts of this folder. Source it with ROOT set, then call
# wine_session_start before and wine_session_stop after the measured work.
source "$ROOT/tools/wine-env.sh"
source "$ROOT/tools/xvfb.sh"
own_display=0
wine_session_start() {
  if [ -z "${DISPLAY:-}" ]; then xvfb_start; own_display=1; fi
  wineserver -p >/dev/null 2>&1
  # Wine's helpers up before anything is timed.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}
wine_session_stop() {
  [ -n "$previous_dpi" ] && wine_set_dpi "$previous_dpi"
  previous_dpi=""
  [ $own_display = 1 ] && xvfb_stop
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
