#!/usr/bin/env bash
# Installs what is missing, builds host, win64 and win32, and runs every test:
# host tests natively (also with sanitizers, with the fuzz targets), Windows
# tests under Wine in a virtual X display.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1
# The Wine prefix takes minutes where 32-bit programs run emulated: it is
# made beside the builds and the host tests, and the Windows run waits for it.
mkdir -p build
scripts/wine-prefix.sh >build/wineprefix.log 2>&1 &
scripts/build.sh host win64 win32 sanitize tsan || exit 1

status=0
# Includes point down the layers (also a host test; here it fails fast).
python3 scripts/check-layers.py || status=1
ctest --preset host --output-on-failure -j2 || status=1
# The host tests again with AddressSanitizer and UBSan, and the fuzz targets.
ctest --preset sanitize --output-on-failure -j2 || status=1
# The paper stores' many-caller test with ThreadSanitizer (only that test is built).
ctest --preset tsan --output-on-failure || status=1

xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-tests.sh || status=1

[ $status -eq 0 ] && echo "all test suites passed" || echo "some tests failed"
exit $status
