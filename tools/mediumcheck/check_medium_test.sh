#!/usr/bin/env bash
# The medium check passes on a medium laid out from the two build trees and
# fails, naming the fault, on copies of it broken one way each.
# usage: check_medium_test.sh WIN64_BUILD_DIR WIN32_BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
for b in "$1" "$2"; do
  cmake --install "$b" --prefix "$work/medium" >/dev/null || { echo "cannot lay out the medium from $b"; exit 1; }
done
# The unsigned catalog, as the medium build makes it.
mapfile -t package < <("$here/../catalog/catalog.py" files "$work/medium")
"$here/../catalog/catalog.py" make "$work/medium/lx220.cat" "$work/medium" "${package[@]}" >/dev/null ||
  { echo "cannot make the catalog"; exit 1; }

fail=0
out=$("$here/check_medium.py" "$work/medium"); rc=$?
if [ $rc -ne 0 ]; then echo "the built medium fails the check:"; echo "$out"; fail=1; else echo "built medium: $out"; fi

# broken NAME EXPECTED-TEXT COMMAND...: the command breaks a fresh copy.
broken() {
  local name=$1 expect=$2; shift 2
  rm -rf "$work/copy"; cp -r "$work/medium" "$work/copy"
  (cd "$work/copy" && "$@") || { echo "$name: could not break the copy"; fail=1; return; }
  local out rc
  out=$("$here/check_medium.py" "$work/copy"); rc=$?
  if [ $rc -ne 1 ] || ! grep -qF -- "$expect" <<<"$out"; then
    echo "$name: expected a fault naming \"$expect\", got (rc $rc):"; echo "$out"; fail=1
  else
    echo "$name: $(grep -F -- "$expect" <<<"$out" | head -1)"
  fi
}
ini_edit() { python3 - "$@" <<'PY'
import sys
path, old, new = sys.argv[1:4]
text = open(path, "rb").read().decode("latin-1")
if old not in text: sys.exit(1)
open(path, "wb").write(text.replace(old, new, 1).encode("latin-1"))
PY
}

broken "driver not in the INF" '"LX-223TH Label Printer" is not declared in lx220.inf for x86' \
  ini_edit lx220.inf $'"LX-223TH Label Printer" = LX220.Install, USBPRINT\\LabelPrinterLX-223TH, LabelPrinterLX-223TH\r\n\r\n; No HelpFile' $'\r\n; No HelpFile'
broken "file missing for one word size" "amd64: lx220uiru.dll copied by the INF is missing" rm amd64/lx220uiru.dll
broken "option missing from the feature file" "option LANGUAGE_ZPL of feature PrinterLanuage is not in lx220.gpd" \
  ini_edit i386/lx220.gpd '*Option: LANGUAGE_ZPL' '*Option: LANGUAGE_ZPL2'
broken "feature missing from the feature file" "feature OutputDensity is not in lx220.gpd" \
  ini_edit amd64/lx220.gpd '*Feature: OutputDensity' '*Feature: PrintDensity'
broken "removal section not in the INF" "InfSection LabelPrinter.NTx86 is not a section of the INF" \
  ini_edit lx220.inf '[LabelPrinter.NTx86]' '[LabelPrinter.NTi386]'
broken "removal key not in the INF" '[Uninstall] DriverName "LX-220HX Label Printer" is not a key' \
  ini_edit Setup/cfgSetup.ini '"LX-220H Label Printer",' '"LX-220HX Label Printer",'
broken "language module not in the INF" "language tl: the INF does not copy lx220uitl.dll" \
  ini_edit lx220.inf $'lx220uitl.dll\r\n' ''
broken "help file not in the INF" "language de: the INF does not copy lx220uide.chm" \
  ini_edit lx220.inf $'lx220uide.chm\r\n' ''
broken "two install folders" '[Uninstall] InstallLocation "Label Printer Driver" is not [Install] FilePath "Label Driver"' \
  ini_edit Setup/cfgSetup.ini 'FilePath=Label Printer Driver' 'FilePath=Label Driver'
broken "language without documents" 'Setup\Turkish\privacy.rtf is missing' rm Setup/Turkish/privacy.rtf
broken "unknown language" "language xx is not one of the installer's languages" \
  ini_edit Setup/cfgSetup.ini $'\r\nnl' $'\r\nxx'
# A help file compiled without the printer page's context.
cp -r "$here/../../medium/help/ja" "$work/help-ja"
sed -i '/2000/d' "$work/help-ja/lx220uija.hhp"
(cd "$work/help-ja" && chmcmd --no-html-scan lx220uija.hhp >/dev/null 2>&1)
broken "help file without a context" "x86: lx220uija.chm maps 3 help contexts, the pages open 4" \
  cp "$work/help-ja/lx220uija.chm" i386/lx220uija.chm
broken "help file that is none" "amd64: lx220uizhcn.chm is not a compiled help file" \
  cp Setup/cfgSetup.ini amd64/lx220uizhcn.chm
# The INF, feature file, plug-in INI and catalog rules, one of each.
broken "INF without a catalog" "lx220.inf: 1233: [Version] names no CatalogFile" ini_edit lx220.inf $'CatalogFile=lx220.cat\r\n' ''
broken "INF of another version" ',9.9.9.9" is not the version' sed -i 's/^\(DriverVer=[^,]*\),.*/\1,9.9.9.9\r/' lx220.inf
broken "feature file default that is no option" "amd64: default: *DefaultOption IN9 of OutputRate" \
  ini_edit amd64/lx220.gpd '*DefaultOption: IN3' '*DefaultOption: IN9'
broken "plug-in INI with blanks" 'x86: plug-in INI: line 112 of [OEMFiles] has blanks around "="' python3 -c '
import sys; p = "i386/lx220.ini"; t = open(p, "rb").read().decode("utf-16")
open(p, "wb").write(b"\xff\xfe" + t.replace("OEMConfigFile1=", "OEMConfigFile1 = ").encode("utf-16-le"))'
broken "a changed byte in a copied file" "catalog: i386/lx220uija.dll: its SHA1 hash is no member of lx220.cat" \
  python3 -c 'f = open("i386/lx220uija.dll", "r+b"); f.seek(4096); b = f.read(1); f.seek(4096); f.write(bytes([b[0] ^ 1]))'
broken "no catalog" "lx220.cat named by CatalogFile is not beside the INF" rm lx220.cat
broken "INF not where cfgSetup.ini points" 'INF "lx220.inf" named by [Install] InfName is not on the medium' rm lx220.inf
exit $fail
