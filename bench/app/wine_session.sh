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
  [ $own_display = 1 ] && xvfb_stop
  return 0
}
