#!/usr/bin/env bash
# Benchmarks and their budgets: builds the Release host benchmarks and the
# 64-bit Windows ones (32-bit too where the kernel runs them), runs them (the Windows part under Wine, inside
# xvfb-run), and prints one table with every figure beside its floor, the
# ratio, the budget and the sizes of the shipped binaries; ends non-zero
# when a budget falls short. Not part of scripts/test.sh: figures depend on
# the machine, so only ratios taken in the same run are checked.
#   scripts/bench.sh            host and Windows
#   scripts/bench.sh --host     host only
#   scripts/bench.sh --compare DLL   also attaches another build of lx220ui.dll
#                               (alone in its folder) in the same run
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR=$PWD
out=build/bench-results
mkdir -p "$out"
rm -f "$out"/host.json "$out"/win64.txt

cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
build/bench/tests/bench/lx_host_bench --benchmark_min_time=0.2 --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true --benchmark_out="$out/host.json" --benchmark_out_format=json \
  >/dev/null

win=()
compare=()
if [ "${1:-}" = "--compare" ]; then
  compare=(--compare "$(realpath "$2")")
fi
if [ "${1:-}" != "--host" ]; then
  cmake --preset bench-win64 >/dev/null
  cmake --build --preset bench-win64 >/dev/null
  # Everything, not only the bench: the sizes row installs the medium, which
  # takes every language module and help file.
  cmake --build build/bench-win64 >/dev/null
  . scripts/wine-env.sh
  scripts/wine-prefix.sh
  bench=build/bench-win64/tests/bench
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    . scripts/wine-env.sh
    lx_wine_session
    extra=()
    if [ -n "${4:-}" ]; then extra=(--compare "$(lx_winepath "$4")"); fi
    lx_wine "$1/lx_win_bench.exe" "$(lx_winepath "$2")" "${extra[@]}" </dev/null >"$3" 2>/dev/null
    exit $?' _ "$bench" "build/bench-win64/installer/Qelvin64.exe" "$out/win64.txt" "${compare[1]:-}" || true
  win=(--win64 "$out/win64.txt")
  # 32-bit too where the kernel runs 32-bit programs: under QEMU the figures
  # would measure the emulation, and the table says why they are missing.
  if lx_wine32_road && [ "$LX_WINE32_ROAD" = native ]; then
    rm -f "$out/win32.txt"
    cmake --preset bench-win32 >/dev/null
    cmake --build --preset bench-win32 >/dev/null
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
      . scripts/wine-env.sh
      lx_wine_session
      lx_wine "$1/lx_win_bench.exe" "$(lx_winepath "$2")" </dev/null >"$3" 2>/dev/null
      exit $?' _ build/bench-win32/tests/bench "build/bench-win32/installer/Qelvin32.exe" "$out/win32.txt" || true
    win+=(--win32 "$out/win32.txt")
  else
    win+=(--wine32-why "$LX_WINE32_WHY")
  fi
fi

# The shipped 64-bit binaries as the medium carries them (cmake --install,
# as scripts/build-medium.sh does): stripped, debug information beside the build.
medium=()
if [ -f build/bench-win64/CMakeCache.txt ]; then
  rm -rf "$out/medium"
  cmake --install build/bench-win64 --prefix "$out/medium" >/dev/null && medium=(--medium "$out/medium")
fi
python3 scripts/bench_report.py --host "$out/host.json" "${win[@]}" "${medium[@]}"
