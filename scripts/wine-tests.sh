#!/usr/bin/env bash
# Runs the Windows test suites under Wine; meant to run inside xvfb-run so
# that Wine's desktop and every test window get the virtual display.
set -uo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh || exit 1
# A persistent wineserver for the whole run, detached so that ctest does not
# wait on Wine's background processes holding its pipes.
setsid wineserver -p </dev/null >/dev/null 2>&1 &
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# Wine's own services start with the first program and inherit its output;
# start them here, away from ctest's pipes.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
rc=0
ctest --preset win64 --output-on-failure || rc=1
ctest --preset win32 --output-on-failure || rc=1
exit $rc
