#!/usr/bin/env bash
# The wizard and the templates at a display scale: a copy of the build's
# prefix with LogPixels set (HKCU\Control Panel\Desktop, which Wine 8 honours
# as Windows does), then the installer's and the plug-in's template checks and
# the wizard's page walk under it. Screenshots are named after the DPI.
# usage: wine_dpi_test.sh DPI BUILD_DIR
set -euo pipefail
dpi=$1 build=$(cd "$2" && pwd)
. "$(dirname "$0")/../../scripts/wine-env.sh"
base=$WINEPREFIX
[ -f "$base/system.reg" ] || "$lx_root/scripts/wine-prefix.sh"
export WINEPREFIX=$build/wineprefix-dpi$dpi
rm -rf "$WINEPREFIX"
cp -a "$base" "$WINEPREFIX"
trap 'lx_wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
lx_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
lx_wineserver -w
rc=0
(cd "$build/installer/pages/res" && lx_wine ./installer_resources_test.exe --gtest_color=no \
   --gtest_filter='InstallerTemplates.EveryPageKeepsTheTemplateRulesInEveryLanguage') || rc=1
(cd "$build/plugin/resources" && lx_wine ./plugin_resources_test.exe --gtest_color=no \
   --gtest_filter='DialogLayout.*') || rc=1
(cd "$build/tests" && lx_wine ./qelvin_wizard_test.exe --gtest_color=no \
   --gtest_filter='QelvinWizard.PagesKeepTheirControlsInsideAtTheDisplaysDpi') || rc=1
exit $rc
