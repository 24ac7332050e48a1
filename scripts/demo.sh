#!/usr/bin/env bash
# The demonstration: the medium's Tessaly.exe under Wine starts the medium's
# installer, whose wizard is walked to the port page by tools/demo; the
# pages' screenshots land in build/demo/screenshots and their paths are
# printed. Builds the medium first when out/medium lacks it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh demo
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
[ -f out/medium/Tessaly.exe ] && [ -f out/medium/Setup/Qelvin64.exe ] || scripts/build-medium.sh
scripts/build.sh win64 >/dev/null
cmake --build --preset win64 --target medium_demo >/dev/null

. scripts/wine-env.sh
scripts/wine-prefix.sh

# A copy of the medium: the launcher writes Setup/dnssd.dll beside the
# installers, and out/medium stays as built.
rm -rf build/demo
mkdir -p build/demo/screenshots
cp -r out/medium build/demo/medium
# The shipped launcher is 32-bit; where no 32-bit program can run, the
# 64-bit build of the same sources stands in for it (it then starts
# Qelvin64.exe, as the 32-bit one does on a 64-bit Windows).
if lx_wine32_road; then
  echo "demo: the medium's 32-bit Tessaly.exe ($LX_WINE32_ROAD: $LX_WINE32_WHY)"
else
  echo "demo: $LX_WINE32_WHY; the 64-bit build of Tessaly.exe stands in for the medium's"
  cp build/win64/launcher/Tessaly.exe build/demo/medium/Tessaly.exe
fi

lx_wine_session

rc=0
lx_wine build/win64/tools/demo/medium_demo.exe "$(lx_winepath build/demo/medium)" \
  "$(lx_winepath build/demo/screenshots)" | tr -d '\r' | grep '^demo:' || rc=$?
echo "screenshots:"
for bmp in build/demo/screenshots/*.bmp; do
  [ -e "$bmp" ] || { rc=1; break; }
  if command -v convert >/dev/null && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null; then
    rm "$bmp"
    echo "  $root/${bmp%.bmp}.png"
  else
    echo "  $root/$bmp"
  fi
done
exit $rc
