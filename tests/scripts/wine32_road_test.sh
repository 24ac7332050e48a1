#!/usr/bin/env bash
# The test run's choice of a road for 32-bit Windows programs, on stand-in
# loaders and binfmt_misc folders: it follows whether the loader answers,
# never what is installed, and names the reason when there is no road.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

answering=$work/answering
printf '#!/bin/sh\necho wine-8.0\n' >"$answering"
failing=$work/failing  # as the 32-bit loader on a kernel without 32-bit emulation
printf '#!/bin/sh\necho "Exec format error" >&2\nexit 126\n' >"$failing"
chmod +x "$answering" "$failing"

# A binfmt_misc folder with an i386 entry (enabled or not) beside another
# architecture's entry.
binfmt() {
  local dir=$work/$1 state=$2
  mkdir -p "$dir"
  : >"$dir/register"
  echo enabled >"$dir/status"
  printf 'enabled\ninterpreter /usr/bin/qemu-arm-static\nflags: F\noffset 0\nmagic 7f454c4601010100000000000000000002002800\n' >"$dir/qemu-arm"
  [ "$state" = none ] && { echo "$dir"; return; }
  printf '%s\ninterpreter /usr/bin/qemu-i386-static\nflags: F\noffset 0\nmagic 7f454c4601010100000000000000000002000300\n' \
    "$state" >"$dir/qemu-i386"
  echo "$dir"
}

# expect ROAD WHY-FRAGMENT LOADER BINFMT-DIR
expect() {
  local road=$1 fragment=$2
  LX_WINE32_ROAD= LX_WINE32_WHY=
  LX_WINE32_LOADER=$3 LX_BINFMT_DIR=$4 lx_wine32_road
  local rc=$?
  if [ "$LX_WINE32_ROAD" != "$road" ] || [[ "$LX_WINE32_WHY" != *"$fragment"* ]] ||
     { [ "$road" = none ] && [ $rc -eq 0 ]; } || { [ "$road" != none ] && [ $rc -ne 0 ]; }; then
    echo "FAIL: loader $3, binfmt $4: got $LX_WINE32_ROAD ($rc): $LX_WINE32_WHY; expected $road with \"$fragment\""
    failures=$((failures + 1))
  fi
}

expect none "wine32:i386 is not installed" "$work/missing" "$work/nowhere"
expect none "binfmt_misc is not mounted at $work/nowhere" "$failing" "$work/nowhere"
expect none "no i386 interpreter is registered" "$failing" "$(binfmt bare none)"
expect none "no i386 interpreter is registered" "$failing" "$(binfmt off disabled)"
expect none "not even through the registered interpreter /usr/bin/qemu-i386-static" "$failing" "$(binfmt on enabled)"
expect qemu "/usr/bin/qemu-i386-static" "$answering" "$work/on"
# An answering loader without an i386 entry in force runs on the kernel itself.
expect native "the kernel runs 32-bit programs" "$answering" "$work/off"
expect native "the kernel runs 32-bit programs" "$answering" "$work/nowhere"

[ $failures -eq 0 ] && echo "wine32 road: all cases passed"
exit $((failures > 0))
