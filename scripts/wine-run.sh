#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's prefix (the emulator
# ctest uses for the Windows test executables).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
[ -f "$WINEPREFIX/system.reg" ] || "$here/scripts/wine-prefix.sh"
exec wine "$@"
