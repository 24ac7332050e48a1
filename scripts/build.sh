#!/usr/bin/env bash
# Configures and builds the given presets (host, win64, win32; all by default).
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths below the checkout hash alike in every clone, so clones share the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(host win64 win32)
for p in "${presets[@]}"; do
  [ -f "build/$p/CMakeCache.txt" ] || cmake --preset "$p" >/dev/null
  cmake --build --preset "$p"
done
