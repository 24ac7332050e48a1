#!/usr/bin/env bash
# Creates the Wine prefix of the test run once (about 25 s), without the
# Mono and Gecko prompts.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] && exit 0
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 </dev/null
# Fonts: the pages' "Times New Roman" comes from Liberation Serif, and the
# dialog fonts fall back to WenQuanYi for Chinese and Japanese text.
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma "Microsoft Sans Serif" "Liberation Serif"; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei\0Garuda.ttf,Garuda' /f \
    >/dev/null 2>&1 </dev/null
done
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /d "Liberation Serif" /f \
  >/dev/null 2>&1 </dev/null
# The Chinese and Japanese documents name the fonts those Windows editions
# bring; without a stand-in Wine draws their text as blanks.
for face in "Microsoft YaHei" "Microsoft JhengHei" Meiryo; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f \
    >/dev/null 2>&1 </dev/null
done
wineserver -w
