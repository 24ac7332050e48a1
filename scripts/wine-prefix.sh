#!/usr/bin/env bash
# Creates the Wine prefix of the test run once, without the Mono and Gecko
# prompts: about 25 s, and some minutes more where 32-bit programs run
# emulated (the prefix's 32-bit half is set up by a 32-bit process). Safe to
# start twice at once: the second waits for the first.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
# A prefix made while no 32-bit program could run lacks its 32-bit half;
# once they can, it is made anew.
road=none
lx_wine32_road && road=$LX_WINE32_ROAD
if [ -f "$WINEPREFIX/system.reg" ]; then
  [ "$road" = none ] || [ -f "$WINEPREFIX/.lx-wine32" ] && exit 0
  lx_wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
mkdir -p "$WINEPREFIX"
lx_wine wineboot.exe -i >/dev/null 2>&1 </dev/null
# Fonts: the pages' "Times New Roman" comes from Liberation Serif, and the
# dialog fonts fall back to WenQuanYi for Chinese and Japanese text.
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma "Microsoft Sans Serif" "Liberation Serif"; do
  lx_wine reg.exe add "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei\0Garuda.ttf,Garuda' /f \
    >/dev/null 2>&1 </dev/null
done
lx_wine reg.exe add 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /d "Liberation Serif" /f \
  >/dev/null 2>&1 </dev/null
# The Chinese and Japanese documents name the fonts those Windows editions
# bring; without a stand-in Wine draws their text as blanks.
for face in "Microsoft YaHei" "Microsoft JhengHei" Meiryo; do
  lx_wine reg.exe add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f \
    >/dev/null 2>&1 </dev/null
done
lx_wineserver -w
[ "$road" = none ] || echo "$road" >"$WINEPREFIX/.lx-wine32"
