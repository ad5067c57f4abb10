#!/usr/bin/env bash
# Sets up, builds and starts Pointerwright under Wine in a virtual desktop:
# on your X display when there is one, else on an Xvfb of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine_env.sh
source scripts/build.sh
pw_build "$PW_TEST_ARCH" ON Pointerwright

started_xvfb=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  pw_start_xvfb
  started_xvfb=1
  echo "No X display: running on Xvfb $DISPLAY. To see it:"
  echo "  DISPLAY=$DISPLAY import -window root pointerwright.png"
fi
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ $started_xvfb = 1 ]; then pw_stop; fi
}
trap cleanup EXIT INT TERM
pw_prefix_init

exe="$PW_BUILD/$PW_TEST_ARCH/Pointerwright.exe"
echo "Starting $exe (settings in ${exe%.exe}.ini); Ctrl+C to stop."
set +e
"$PW_WINE" "$exe"
code=$?
echo "Pointerwright exited with code $code"
exit $code
