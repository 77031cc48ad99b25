# The program's folder of a build, for the scripts of this folder that run copies of it. Source it
# with BUILD set.
# program_folder_needed: ends the script unless $BUILD/bin holds tavrino.exe, user.dat and skin15
# and sqlite3 is at hand.
program_folder_needed() {
  [ -f "$BUILD/bin/tavrino.exe" ] && [ -f "$BUILD/bin/user.dat" ] && [ -d "$BUILD/bin/skin15" ] ||
    { echo "build tavrino, tv_user_dat and tv_skin15 in $BUILD first"; exit 1; }
  command -v sqlite3 >/dev/null || { echo "sqlite3 is needed"; exit 1; }
}
# program_folder_copy DIR: a fresh copy of the program folder (program, user.dat, skin15) in DIR.
program_folder_copy() {
  mkdir -p "$1"
  cp "$BUILD/bin/tavrino.exe" "$BUILD/bin/user.dat" "$1/"
  cp -r "$BUILD/bin/skin15" "$1/"
}
