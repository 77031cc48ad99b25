#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) for building, running and testing Tavrino.
# Idempotent: when everything is in place it only checks and returns.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="$ROOT/.deps"
export DEBIAN_FRONTEND=noninteractive
QUIET="${TAVRINO_SETUP_VERBOSE:+}"
log() { echo "setup: $*"; }

PACKAGES=(
  cmake ninja-build g++ make pkg-config python3 git dpkg-dev tcl
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64
  xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-dejavu-core python3-pil python3-cairo python3-icalendar
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3 libtinyxml-dev nlohmann-json3-dev libstb-dev libcurl4-openssl-dev libssl-dev openssl python3-cryptography
  clang libclang-rt-14-dev nsis ccache
)

# ---------------------------------------------------------------- packages
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

enable_deb_src() {
  local f=/etc/apt/sources.list.d/debian.sources changed=0
  if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"; changed=1
  fi
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >> /etc/apt/sources.list; changed=1
  fi
  return $(( changed == 1 ? 0 : 1 ))
}

need_update=0
enable_deb_src && need_update=1
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ] || [ ! -d "$DEPS/src/sqlite3" ]; then
  if dpkg --print-foreign-architectures | grep -q i386; then
    log "warning: the i386 architecture is enabled; it is not needed and wine32 must not be installed"
  fi
  log "apt-get update"
  apt-get update -qq >/dev/null
fi
if [ ${#missing[@]} -gt 0 ]; then
  log "installing ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# ------------------------------------------------ dependency sources (Windows builds)
mkdir -p "$DEPS/src"
fetch_source() {  # package, folder name
  local pkg=$1 dir=$2
  [ -d "$DEPS/src/$dir" ] && return 0
  log "fetching source package $pkg"
  local tmp; tmp=$(mktemp -d "$DEPS/src/.fetch.XXXX")
  (cd "$tmp" && apt-get source -qq "$pkg" >/dev/null 2>&1)
  local top; top=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n1)
  [ -n "$top" ] || { log "could not fetch source of $pkg"; exit 1; }
  mv "$top" "$DEPS/src/$dir"; rm -rf "$tmp"
}
fetch_source sqlite3 sqlite3
fetch_source tinyxml tinyxml

# SQLite's amalgamation, generated once from its source
if [ ! -f "$DEPS/src/sqlite3-amalgamation/sqlite3.c" ]; then
  log "generating the SQLite amalgamation"
  b="$DEPS/src/sqlite3-build"; rm -rf "$b"; mkdir -p "$b"
  (cd "$b" && "$DEPS/src/sqlite3/configure" >/dev/null 2>&1 && make -j2 sqlite3.c >/dev/null 2>&1)
  mkdir -p "$DEPS/src/sqlite3-amalgamation"
  cp "$b/sqlite3.c" "$b/sqlite3.h" "$DEPS/src/sqlite3-amalgamation/"
  rm -rf "$b"
fi

# The JSON library is headers only: the Windows builds take them from here, out of the way of the
# system's other headers.
rm -rf "$DEPS/json"; mkdir -p "$DEPS/json/include"
cp -r /usr/include/nlohmann "$DEPS/json/include/"

# ------------------------------------------------------------------ Wine prefix
# shellcheck source=tools/wine-env.sh
source "$ROOT/tools/wine-env.sh"
if [ ! -f "$WINEPREFIX/.tavrino-ready-2" ]; then
  log "preparing the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  timeout 60 wineserver -w || true
  font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
  cp "$font" /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  reg=$(mktemp --suffix=.reg)
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"WenQuanYi Micro Hei (TrueType)"="wqy-microhei.ttc"
"DejaVu Sans (TrueType)"="DejaVuSans.ttf"

; Symbols the CJK font lacks (such as the degree-Celsius sign) come from DejaVu Sans.
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"WenQuanYi Micro Hei"=hex(7):44,00,65,00,6a,00,61,00,56,00,75,00,53,00,61,00,6e,00,73,00,2e,00,74,00,74,00,66,00,2c,00,44,00,65,00,6a,00,61,00,56,00,75,00,20,00,53,00,61,00,6e,00,73,00,00,00,00,00
"Microsoft YaHei"=hex(7):44,00,65,00,6a,00,61,00,56,00,75,00,53,00,61,00,6e,00,73,00,2e,00,74,00,74,00,66,00,2c,00,44,00,65,00,6a,00,61,00,56,00,75,00,20,00,53,00,61,00,6e,00,73,00,00,00,00,00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"Microsoft YaHei"="WenQuanYi Micro Hei"
"微软雅黑"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
"SimHei"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""
REG
  iconv -f UTF-8 -t UTF-16LE "$reg" | { printf '\xff\xfe'; cat; } > "$reg.u16"
  sed -i '1s/REGEDIT4/Windows Registry Editor Version 5.00/' "$reg"
  iconv -f UTF-8 -t UTF-16LE "$reg" | { printf '\xff\xfe'; cat; } > "$reg.u16"
  wine regedit /S "$reg.u16" >/dev/null 2>&1 || true
  timeout 60 wineserver -w || true
  rm -f "$reg" "$reg.u16"
  touch "$WINEPREFIX/.tavrino-ready-2"
fi
log "ready"
