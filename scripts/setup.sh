#!/usr/bin/env bash
# Installs what building, running and testing Pointerwright needs on Debian 12.
# Idempotent: prints nothing and changes nothing when everything is present.
set -euo pipefail

need=(cmake make python3 g++-mingw-w64-i686 binutils-mingw-w64-i686
      g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 googletest
      wine wine32:i386 wine64 xvfb xdotool imagemagick fonts-wqy-microhei x11-utils)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing=("${need[@]}")
else
  for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
fi
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
echo "setup: done"
