#!/usr/bin/env bash
# Checks a shipped Windows binary: it imports system DLLs only and, for the
# programs that need it, its manifest asks for administrator rights and
# per-monitor DPI awareness; a program may also be held to not importing
# some system DLLs at all, and an elevated program to importing only
# KnownDLLs (which Windows maps from System32 whatever lies beside the
# program) and the side-by-side COMCTL32 of its manifest; anything else it
# needs is delay-loaded or bound at run time, after it has restricted the
# library search to System32.
# usage: check_pe.sh OBJDUMP FILE [requireAdministrator] ["dll dll ..."] [knowndlls]
set -euo pipefail
objdump=$1 file=$2 level=${3:-} unwanted=${4:-} known=${5:-}
system='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|winspool|setupapi|msvcrt|ws2_32|version|uxtheme|msimg32|riched20|cfgmgr32|compstui|newdev|iphlpapi)\.(dll|drv)$'
# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs of
# Windows 7 to 11 (the entries present on all of them).
knowndlls='^(advapi32|clbcatq|comdlg32|gdi32|imagehlp|imm32|kernel32|msctf|msvcrt|normaliz|nsi|ole32|oleaut32|psapi|rpcrt4|sechost|setupapi|shell32|shlwapi|user32|wldap32|ws2_32)\.dll$'
fail=0
while read -r dll; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if [ "$known" = knowndlls ] && ! echo "$lower" | grep -Eq "$knowndlls"; then
    if [ "$lower" = comctl32.dll ]; then
      grep -aq 'Microsoft.Windows.Common-Controls' "$file" ||
        { echo "$file imports COMCTL32 without the side-by-side assembly in its manifest"; fail=1; }
    else
      echo "$file imports $dll, which is no KnownDLL: a copy beside the program is loaded first"; fail=1
    fi
  fi
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system"; then
    echo "$file imports a non-system DLL: $dll"; fail=1
  fi
  for u in $unwanted; do
    if [ "$(echo "$dll" | tr 'A-Z' 'a-z')" = "$u" ]; then echo "$file imports $dll, which it does not need"; fail=1; fi
  done
done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
if [ -n "$level" ] && ! grep -aq "level=\"$level\"" "$file"; then
  echo "$file: manifest does not ask for $level"; fail=1
fi
# The elevated programs draw their own windows: they declare per-monitor v2
# awareness with the per-monitor fallback, or Windows stretches them blurred.
# A DLL's manifest has no say: its host process decides.
if [ "$level" = requireAdministrator ] && ! { grep -aq '>PerMonitorV2,PerMonitor</dpiAwareness>' "$file" && grep -aq '>true/pm</dpiAware>' "$file"; }; then
  echo "$file: manifest declares no per-monitor DPI awareness"; fail=1
fi
[ $fail -eq 0 ] && echo "$file: ok"
exit $fail
