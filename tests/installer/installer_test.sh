#!/usr/bin/env bash
# The x64 setup program under wine64, in a fresh Wine prefix made here: silent install, the program
# starting from the installed folder, an upgrade over the running program that keeps the user's
# settings and recent cities and brings the new data, upgrades killed at several moments, and a
# silent uninstall. Needs DISPLAY (the program's window) and makensis's output.
# Usage: installer_test.sh SETUP.exe
set -uo pipefail
SETUP=$(readlink -f "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }
[ -n "${DISPLAY:-}" ] || fail "no display"

WORK=$(mktemp -d /tmp/tvinstall.XXXXXX)
export WINEPREFIX=$WORK/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() { wineserver -k >/dev/null 2>&1; [ -n "${KEEP:-}" ] || rm -rf "$WORK"; }
trap cleanup EXIT

step "fresh prefix"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
wineserver -p >/dev/null 2>&1
LOCAL=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
DIR=$(winepath -u "$LOCAL\\Programs\\Tavrino" 2>/dev/null)
DAT=$DIR/user.dat
APPDATA_W=$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
LINK=$(winepath -u "$APPDATA_W\\Microsoft\\Windows\\Start Menu\\Programs\\Tavrino 日历.lnk" 2>/dev/null)
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
UNINST='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrino'

# The running program may hold a write lock for a moment: wait for it like the program does.
sql() { sqlite3 -cmd ".timeout 10000" "$DAT" "$1"; }
# The program is up from the installed folder: its window exists and the new data is in place.
wait_program() {
  for _ in $(seq 150); do
    if [ ! -e "$DIR/user.dat.new" ] && [ -e "$DAT" ] && xdotool search --name 'Velar' >/dev/null 2>&1; then
      sleep 1; return 0
    fi
    sleep 0.2
  done
  fail "the program did not come up from $DIR"
}
install() { timeout 120 wine "$SETUP" /S "$@"; }

step "silent install"
install || fail "setup exited $?"
for f in tavrino.exe tvrshell64.dll uninstall.exe skin15/DlgMain.xml; do
  [ -e "$DIR/$f" ] || fail "$f not installed"
done
[ -e "$LINK" ] || fail "no Start-menu shortcut"
wait_program
wine reg query "$RUN" /v tavrino 2>/dev/null | tr -d '\r' | grep -qi 'Programs\\Tavrino\\tavrino.exe" -autostart' \
  || fail "the Run value does not point at the installed program"
wine reg query "$UNINST" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"
for v in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize; do
  wine reg query "$UNINST" /v $v >/dev/null 2>&1 || fail "uninstall entry without $v"
done

step "the user changes a setting and a recent city; this installation lacks a year of holidays"
sql "insert or replace into userconfig values('skin','bg5');
     insert into mycity values('浙江','杭州','2026-12-08 10:00:00:000');
     delete from holiday where year='2026'; delete from userconfig where name='lrt';" || fail "sqlite3"
expect_user_data() {  # what
  [ "$(sql "select value from userconfig where name='skin'")" = bg5 ] || fail "$1: the skin setting was lost"
  [ "$(sql "select count(*) from mycity where city='杭州'")" -ge 1 ] || fail "$1: the recent city was lost"
}

step "upgrade over the running program"
install || { ls -R "$DIR/.setup" | head; pgrep -af tavrino; fail "upgrade exited $?"; }
wait_program
expect_user_data "upgrade"
[ -n "$(sql "select value from userconfig where name='lrt'")" ] || fail "the running program was not ended the orderly way (no lrt)"
[ "$(sql "select count(*) from holiday where year='2026'")" -gt 0 ] || fail "the new holiday data is missing"

step "upgrades killed half-way"
for delay in 0.5 1.5 2.5 3.5 5; do
  wine "$SETUP" /S /NORUN >/dev/null 2>&1 &
  sleep "$delay"
  # Only the Windows process (its command line starts with a drive), never this script.
  pkill -9 -f '^[A-Za-z]:.*tavrino-.*-setup\.exe' 2>/dev/null
  wait 2>/dev/null
  echo "   killed after ${delay}s: $(find "$DIR/.setup" -type f 2>/dev/null | wc -l) files still unpacked, user.dat.new $([ -e "$DIR/user.dat.new" ] && echo present || echo absent)"
  x86_64-w64-mingw32-objdump -f "$DIR/tavrino.exe" >/dev/null 2>&1 || fail "killed after ${delay}s: tavrino.exe is damaged"
  [ -e "$DAT" ] || fail "killed after ${delay}s: user.dat is gone"
  # Whatever state the kill left, the program starts and carries the data.
  if ! xdotool search --name 'Velar' >/dev/null 2>&1; then
    (cd "$DIR" && wine ./tavrino.exe -noshow >/dev/null 2>&1 &)
    for _ in $(seq 100); do [ ! -e "$DIR/user.dat.new" ] && break; sleep 0.2; done
  fi
  expect_user_data "killed after ${delay}s"
done
install || fail "the install after the interruptions exited $?"
wait_program
expect_user_data "after the interruptions"

step "silent uninstall"
timeout 60 wine "$DIR/uninstall.exe" /S
for _ in $(seq 100); do [ -e "$DIR/uninstall.exe" ] || break; sleep 0.2; done
[ ! -e "$DIR/tavrino.exe" ] || fail "tavrino.exe is still there"
[ ! -e "$DIR/uninstall.exe" ] || fail "uninstall.exe is still there"
[ ! -e "$DAT" ] || fail "a silent uninstall kept user.dat"
[ ! -e "$LINK" ] || fail "the shortcut is still there"
wine reg query "$RUN" /v tavrino >/dev/null 2>&1 && fail "the Run value is still there"
wine reg query "$UNINST" >/dev/null 2>&1 && fail "the uninstall entry is still there"
echo "installer test passed"
