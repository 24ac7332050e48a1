#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the medium.
# Quick and silent when everything is already there.
# usage: install-deps.sh [build|demo]  (default: everything the tests need)
# Building the medium needs no Wine, and the demonstration no 32-bit Wine:
# those two leave out what only the test run needs.
set -euo pipefail

build=(
  cmake ninja-build ccache g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools fp-utils python3
)
wine=(
  wine wine64 xvfb xauth x11-utils imagemagick
  fonts-wine fonts-dejavu-core fonts-wqy-microhei fonts-liberation2 fonts-thai-tlwg-ttf
  libavahi-compat-libdnssd1 avahi-daemon dbus-daemon python3-zeroconf iproute2
)
case "${1:-test}" in
  build) pkgs=("${build[@]}") ;;
  demo) pkgs=("${build[@]}" "${wine[@]}") ;;
  test) pkgs=("${build[@]}" "${wine[@]}" wine32:i386) ;;
  *) echo "usage: $0 [build|demo]" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync serves index files that do not match;
# the next attempt usually gets a whole set.
for attempt in 1 2 3; do
  if $SUDO apt-get update -qq 2>/tmp/lx-apt-update.err && ! grep -q '^E:' /tmp/lx-apt-update.err &&
     $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    exit 0
  fi
  echo "apt attempt $attempt failed; retrying in $((attempt * 20)) s" >&2
  sleep $((attempt * 20))
done
cat /tmp/lx-apt-update.err >&2
if $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  exit 0
fi
# The 32-bit Wine needs i386 libraries of exactly the amd64 versions, which a
# mirror with a stale i386 index cannot give while everything else installs.
# Install the rest; the Windows test run then says that the 32-bit suite
# could not run (scripts/wine-tests.sh).
rest=()
for p in "${missing[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
if [ ${#rest[@]} -lt ${#missing[@]} ] &&
   { [ ${#rest[@]} -eq 0 ] || $SUDO apt-get install -y -qq --no-install-recommends "${rest[@]}" >/dev/null; }; then
  echo "WARNING: wine32:i386 cannot be installed from this mirror now; the 32-bit Windows tests will not run" >&2
  exit 0
fi
exit 1
