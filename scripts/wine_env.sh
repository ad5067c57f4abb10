# Sourced by the run and test scripts: a Wine prefix of the build tree, an X
# display of its own, and the means to stop exactly what they started.
#   PW_BUILD   build tree (default: <repo>/build)
# Exports WINEPREFIX, WINELOADER, WINEARCH, PW_WINE, PW_TEST_ARCH, DISPLAY.

PW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PW_BUILD=${PW_BUILD:-$PW_ROOT/build}
mkdir -p "$PW_BUILD/run"

# The program is 32-bit.  Where this kernel cannot run 32-bit code at all
# (some virtual machines), Wine's 32-bit loader fails with "Exec format
# error"; the same sources are then built and run for x86-64 instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  PW_TEST_ARCH=i686; WINELOADER=/usr/lib/wine/wine; WINEARCH=win32
else
  PW_TEST_ARCH=x86_64; WINELOADER=/usr/lib/wine/wine64; WINEARCH=win64
fi
PW_WINE=$WINELOADER
export PW_ROOT PW_BUILD PW_TEST_ARCH PW_WINE WINELOADER WINEARCH
export WINEPREFIX="$PW_BUILD/wine-$PW_TEST_ARCH"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=${PW_LANG:-C.UTF-8}

# Starts an Xvfb on a display number nobody else holds; its pid goes to
# $PW_BUILD/run/xvfb.pid.
pw_start_xvfb() {
  local n=$(( 100 + $$ % 400 )) tries=0
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
    n=$(( n + 1 )); tries=$(( tries + 1 ))
    [ $tries -lt 500 ] || { echo "no free X display" >&2; return 1; }
  done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$PW_BUILD/run/xvfb.log" 2>&1 &
  echo $! >"$PW_BUILD/run/xvfb.pid"
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

pw_reg() { "$WINELOADER" reg add "$@" /f >/dev/null 2>&1; }

# Creates the prefix once: a 1280x800 virtual desktop as the default, so that
# real input reaches low-level hooks and `wine app.exe` returns the exit code,
# and font substitutes so that Chinese text renders.
pw_prefix_init() {
  [ -f "$WINEPREFIX/.pointerwright-ready" ] && return 0
  echo "wine: preparing $WINEPREFIX"
  "$WINELOADER" wineboot -i >"$PW_BUILD/run/wineboot.log" 2>&1 || true
  pw_reg 'HKCU\Software\Wine\Explorer' /v Desktop /d shell
  pw_reg 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1280x800
  local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  local face
  for face in '微软雅黑' '宋体' '新宋体' 'SimSun' 'Microsoft YaHei'; do
    pw_reg "$subst" /v "$face" /d 'WenQuanYi Micro Hei'
  done
  for face in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'Segoe UI' 'Microsoft Sans Serif'; do
    pw_reg "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei'
  done
  wineserver -w
  touch "$WINEPREFIX/.pointerwright-ready"
}

# Stops only what this rig started: the wineserver of its own prefix and its
# own Xvfb.
pw_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$PW_BUILD/run/xvfb.pid" ]; then
    kill "$(cat "$PW_BUILD/run/xvfb.pid")" >/dev/null 2>&1 || true
    rm -f "$PW_BUILD/run/xvfb.pid"
  fi
}
