#!/usr/bin/env bash
# Prints the figures: nanoseconds per hook call for each event kind against a
# pass-through hook, the executable's size, and its idle working set one
# second after start.  Figures only; nothing here passes or fails on them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine_env.sh
source scripts/build.sh
trap pw_stop EXIT
pw_build i686 ON
[ "$PW_TEST_ARCH" = i686 ] || pw_build "$PW_TEST_ARCH" ON
pw_start_xvfb
pw_prefix_init
dir="$PW_BUILD/$PW_TEST_ARCH"

echo "== hook cost ($PW_TEST_ARCH under $(basename "$PW_WINE"))"
"$PW_WINE" "$dir/hookbench.exe"

echo "== executable size"
for arch in i686 "$PW_TEST_ARCH"; do
  [ -f "$PW_BUILD/$arch/Pointerwright.exe" ] &&
    echo "$arch: $(stat -c %s "$PW_BUILD/$arch/Pointerwright.exe") bytes"
done | sort -u

echo "== idle working set one second after start ($PW_TEST_ARCH)"
work=$(mktemp -d "$PW_BUILD/run/bench.XXXXXX")
cp "$dir/Pointerwright.exe" "$work/"
"$PW_WINE" "$work/Pointerwright.exe" &
app=$!
caption="Pointerwright v1.61"
for i in $(seq 100); do
  "$PW_WINE" "$dir/pwprobe.exe" find "$caption" "$caption" >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
"$PW_WINE" "$dir/pwprobe.exe" memory "$caption" "$caption"
"$PW_WINE" "$dir/pwprobe.exe" close "$caption" "$caption" >/dev/null 2>&1 || true
wait $app || true
rm -rf "$work"
