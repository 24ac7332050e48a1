#!/usr/bin/env bash
# Runs the Windows test suites under Wine; meant to run inside xvfb-run so
# that Wine's desktop and every test window get the virtual display.
# The 64-bit suite runs whole. Of the 32-bit suite, the runs labelled
# "wow64" run wherever a 32-bit program can run (natively or through QEMU,
# about a minute for each 32-bit process there); the rest is built and
# PE-checked only.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
lx_wine32_road
echo "32-bit Windows road: $LX_WINE32_ROAD: $LX_WINE32_WHY"
scripts/wine-prefix.sh || exit 1
lx_wine_session
rc=0
ctest --preset win64 --output-on-failure || rc=1
# What needs no Wine: the PE files, the medium and its catalog.
ctest --preset win32 -R '_pe_check$|medium_check|catalog_test' --output-on-failure || rc=1
if [ "$LX_WINE32_ROAD" != none ]; then
  start=$SECONDS
  # A failed 32-bit run gets one more try: under QEMU a new thread of a
  # 32-bit process now and then dies of the emulation, and a fault of ours
  # fails both tries.
  ctest --preset win32 -L wow64 -j2 --repeat until-pass:2 --output-on-failure || rc=1
  echo "32-bit Windows runs ($LX_WINE32_ROAD): $((SECONDS - start)) s"
else
  echo "NOT RUN: the 32-bit Windows runs (label wow64): $LX_WINE32_WHY"
fi
exit $rc
