#!/usr/bin/env bash
# Sets up, builds and runs every test: unit tests in-process under Wine and
# end-to-end tests of Pointerwright.exe in a Wine desktop on Xvfb, all
# through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine_env.sh
source scripts/build.sh
trap pw_stop EXIT

# The product is always built for i686 (with its import check), and so are
# the tests, so that they compile for it; they run on the architecture this
# machine's Wine can execute.
echo "== build i686"
pw_build i686 ON
if [ "$PW_TEST_ARCH" != i686 ]; then
  echo "== build $PW_TEST_ARCH (this machine runs no 32-bit code)"
  pw_build "$PW_TEST_ARCH" ON
fi

pw_start_xvfb
pw_prefix_init
echo "== tests ($PW_TEST_ARCH under $(basename "$PW_WINE"), DISPLAY=$DISPLAY)"
cd "$PW_BUILD/$PW_TEST_ARCH"
ctest --output-on-failure --timeout 300 "$@"
