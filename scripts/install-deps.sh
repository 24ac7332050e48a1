#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the medium.
# Quick and silent when everything is already there.
# usage: install-deps.sh [build|demo]  (default: everything the tests need)
# Building the medium needs no Wine, and the demonstration no 32-bit Wine:
# those two leave out what only the test run needs. Signing the medium
# needs osslsigncode, which only the tests install: a packager who signs
# installs it.
set -euo pipefail

build=(
  cmake ninja-build ccache g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools fp-utils python3
  python3-asn1crypto
)
wine=(
  wine wine64 xvfb xauth x11-utils imagemagick
  fonts-wine fonts-dejavu-core fonts-wqy-microhei fonts-liberation2 fonts-thai-tlwg-ttf
  libavahi-compat-libdnssd1 avahi-daemon dbus-daemon python3-zeroconf iproute2
)
case "${1:-test}" in
  build) pkgs=("${build[@]}") ;;
  demo) pkgs=("${build[@]}" "${wine[@]}") ;;
  test) pkgs=("${build[@]}" "${wine[@]}" osslsigncode wine32:i386) ;;
  *) echo "usage: $0 [build|demo]" >&2; exit 2 ;;
esac

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Installs the packages named; answers non-zero when they could not all be
# installed.
install_packages() {
  local missing=() p attempt
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync serves index files that do not match;
  # the next attempt usually gets a whole set.
  for attempt in 1 2 3; do
    if $SUDO apt-get update -qq 2>/tmp/lx-apt-update.err && ! grep -q '^E:' /tmp/lx-apt-update.err &&
       $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
      return 0
    fi
    echo "apt attempt $attempt failed; retrying in $((attempt * 20)) s" >&2
    sleep $((attempt * 20))
  done
  cat /tmp/lx-apt-update.err >&2
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The 32-bit Wine needs i386 libraries of exactly the amd64 versions, which a
# mirror with a stale i386 index cannot give while everything else installs.
# Then the rest is installed; the Windows test run says that the 32-bit
# suite could not run (scripts/wine-tests.sh).
install_all() {
  install_packages "${pkgs[@]}" && return 0
  local rest=() p
  for p in "${pkgs[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
  [ ${#rest[@]} -lt ${#pkgs[@]} ] && install_packages "${rest[@]}" || return 1
  echo "WARNING: wine32:i386 cannot be installed from this mirror now; the 32-bit Windows tests will not run" >&2
}

# A kernel without 32-bit emulation runs no 32-bit Linux program, so the
# 32-bit Wine loader fails with "Exec format error". QEMU user mode stands
# in: qemu-i386-static registered with binfmt_misc for 32-bit x86 ELF files.
# The "F" flag opens the interpreter once, at registration. The entry lasts
# until the machine restarts; nothing else on the machine changes.
. "$(dirname "$0")/wine-env.sh"
binfmt=${LX_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
enable_qemu_i386() {
  # Nothing to do where the loader answers, or where there is none.
  lx_wine32_road && return 0
  [ -e "${LX_WINE32_LOADER:-/usr/lib/wine/wine}" ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "WARNING: this kernel runs no 32-bit programs, and registering QEMU for them needs root; the 32-bit Windows tests will not run" >&2
    return 0
  fi
  install_packages qemu-user-static || {
    echo "WARNING: qemu-user-static cannot be installed; the 32-bit Windows tests will not run" >&2
    return 0
  }
  if [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
  fi
  if [ ! -e "$binfmt/register" ]; then
    echo "WARNING: binfmt_misc cannot be mounted at $binfmt; the 32-bit Windows tests will not run" >&2
    return 0
  fi
  if [ -e "$binfmt/qemu-i386" ]; then
    echo 1 >"$binfmt/qemu-i386" 2>/dev/null || true
  else
    printf '%s' ":qemu-i386:M::$i386_magic:$i386_mask:/usr/bin/qemu-i386-static:F" >"$binfmt/register" 2>/dev/null || true
  fi
  if lx_wine32_road; then
    echo "registered /usr/bin/qemu-i386-static for 32-bit programs (binfmt_misc); the kernel runs none itself"
  else
    echo "WARNING: the 32-bit Wine loader does not start even through QEMU; the 32-bit Windows tests will not run" >&2
  fi
}

install_all || exit 1
[ "${1:-test}" = test ] && enable_qemu_i386
exit 0
