#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the medium.
# Quick and silent when everything is already there.
set -euo pipefail

pkgs=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools
  wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick
  fonts-wine fonts-dejavu-core fonts-wqy-microhei fonts-liberation2 fonts-thai-tlwg-ttf
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
