# Sourced by every script that runs Wine: the prefix, the loaders by name,
# and the decision whether 32-bit Windows programs can run on this machine.
#
# Everything 64-bit goes through the 64-bit loader by name. Debian's `wine`
# command (and wineboot, winepath, which call it) picks the 32-bit loader
# whenever /usr/lib/wine/wine is executable, also for 64-bit programs: on a
# kernel that runs no 32-bit programs that loader cannot start at all, and
# where it runs emulated, every 64-bit program would pay for the emulation.
# With WINELOADER naming the 64-bit loader, Wine still starts a 32-bit
# program through the 32-bit loader beside it (the name without "64").

lx_root=${lx_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$lx_root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ -x /usr/lib/wine/wine64 ]; then
  LX_WINE64=/usr/lib/wine/wine64
else
  LX_WINE64=$(command -v wine64 || command -v wine || echo wine64)
fi
if [ -x /usr/lib/wine/wineserver64 ]; then
  LX_WINESERVER=/usr/lib/wine/wineserver64
else
  LX_WINESERVER=$(command -v wineserver || echo wineserver)
fi
export WINELOADER=$LX_WINE64

lx_wine() { "$LX_WINE64" "$@"; }
lx_wineserver() { "$LX_WINESERVER" "$@"; }
# The Windows form of a Linux path.
lx_winepath() { "$LX_WINE64" winepath.exe -w "$1" 2>/dev/null | tr -d '\r'; }

# A persistent wineserver for the whole script, detached so that no caller
# waits on Wine's background processes holding its pipes, and Wine's own
# services started here (they start with the first program and inherit its
# output); the server ends with the script.
lx_wine_session() {
  setsid "$LX_WINESERVER" -p </dev/null >/dev/null 2>&1 &
  trap 'lx_wineserver -k >/dev/null 2>&1 || true' EXIT
  lx_wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# Whether a 32-bit Windows program can run here, decided by asking the
# 32-bit loader for its version (never by what is installed). Sets
# LX_WINE32_ROAD to "native" (the kernel runs 32-bit programs), "qemu"
# (QEMU user mode runs them, through binfmt_misc) or "none", and
# LX_WINE32_WHY to one line saying why; answers 0 unless the road is "none".
# LX_WINE32_LOADER and LX_BINFMT_DIR name the loader and binfmt_misc's
# folder (the test of this decision points them elsewhere).
lx_wine32_road() {
  local loader=${LX_WINE32_LOADER:-/usr/lib/wine/wine}
  local binfmt=${LX_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}
  local entry
  entry=$(lx_i386_interpreter "$binfmt")
  if [ ! -e "$loader" ]; then
    LX_WINE32_ROAD=none
    LX_WINE32_WHY="wine32:i386 is not installed ($loader is missing; the package mirror could not give it, see the installation's warning)"
    return 1
  fi
  if ! timeout 120 "$loader" --version >/dev/null 2>&1; then
    LX_WINE32_ROAD=none
    if [ ! -e "$binfmt/register" ]; then
      LX_WINE32_WHY="the kernel runs no 32-bit programs and binfmt_misc is not mounted at $binfmt, so QEMU cannot stand in (mounting it needs root)"
    elif [ -z "$entry" ]; then
      LX_WINE32_WHY="the kernel runs no 32-bit programs and no i386 interpreter is registered in $binfmt (registering QEMU needs root and qemu-user-static)"
    else
      LX_WINE32_WHY="$loader does not start, not even through the registered interpreter $entry"
    fi
    return 1
  fi
  if [ -n "$entry" ]; then
    LX_WINE32_ROAD=qemu
    LX_WINE32_WHY="QEMU user mode runs the 32-bit loader ($entry, registered in $binfmt): about a minute of CPU for each 32-bit process"
  else
    LX_WINE32_ROAD=native
    LX_WINE32_WHY="the kernel runs 32-bit programs"
  fi
  return 0
}

# The interpreter of the first enabled binfmt_misc entry that takes 32-bit
# x86 ELF files (e_machine 3), or nothing.
lx_i386_interpreter() {
  local f
  for f in "$1"/*; do
    [ -f "$f" ] || continue
    case "${f##*/}" in register | status) continue ;; esac
    grep -qx enabled "$f" 2>/dev/null || continue
    grep -q '^magic 7f454c46010101.*0300$' "$f" 2>/dev/null || continue
    sed -n 's/^interpreter //p' "$f"
    return 0
  done
  return 0
}
