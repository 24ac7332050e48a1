#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's prefix (the emulator
# ctest uses for the Windows test executables). A 32-bit program goes the
# same way: the 64-bit loader hands it to the 32-bit one.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$lx_root/scripts/wine-prefix.sh"
exec "$LX_WINE64" "$@"
