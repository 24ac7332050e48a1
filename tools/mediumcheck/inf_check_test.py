#!/usr/bin/python3
"""The INF checker passes the driver package's INF and its plug-in INI, and
fails, naming the rule, on copies broken one rule at a time and on INFs no
SetupAPI could read as meant."""
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, HERE)
import inf_check  # noqa: E402

TEMPLATE = open(os.path.join(ROOT, "medium", "driver", "lx220.inf.in"), "rb").read().decode("latin-1")
GOOD = TEMPLATE.replace("@LX_DRIVER_DATE@", "01/15/2026").replace("@LX_DRIVER_VERSION@", "1.0.0.0")
PLUGIN_INI = os.path.join(ROOT, "plugin", "lx220.ini")

# (name, old text, new text, expected start of a fault): each breaks one rule.
BROKEN = [
    ("Provider is Microsoft", 'Provider="Label Printer Driver Project"', 'Provider="Microsoft"', "1204: "),
    ("file not in SourceDisksFiles of x86", "[SourceDisksFiles.x86]\r\nlx220.gpd=1\r\n", "[SourceDisksFiles.x86]\r\n",
     "1230: lx220.gpd copied by [lx220.install] is not in [SourceDisksFiles] for x86"),
    ("file on a disk of no name", "[SourceDisksFiles.amd64]\r\nlx220.gpd=1", "[SourceDisksFiles.amd64]\r\nlx220.gpd=2",
     "1230: lx220.gpd is on disk 2"),
    ("no CatalogFile", "CatalogFile=lx220.cat\r\n", "", "1233: "),
    ("token not in Strings", "%Maker%=LabelPrinter", "%Vendor%=LabelPrinter", "1235: %Vendor% on line"),
    ("token defined twice", '[Strings]\r\n', '[Strings]\r\nDisk="Another disk"\r\n', "1235: %Disk% is defined twice"),
    ("DefaultInstall beside Manufacturer", "[DestinationDirs]", "[DefaultInstall]\r\nCopyFiles=LX220.Files\r\n\r\n[DestinationDirs]",
     "1212: "),
    ("unreferenced section", "[DestinationDirs]", "[Leftover.Files]\r\nold.dll\r\n\r\n[DestinationDirs]",
     "2083: section [leftover.files]"),
    ("too many dependent files", "lx220uinl.chm\r\n", "lx220uinl.chm\r\n" + "".join("x%02d.dll\r\n" % i for i in range(40)),
     "dependent files: [lx220.install] copies 72 files, more than 64"),
    ("wrong class GUID", "{4D36E979-E325-11CE-BFC1-08002BE10318}", "{4D36E97B-E325-11CE-BFC1-08002BE10318}", "printer class: Class=Printer"),
    ("wrong destination", "DefaultDestDir=66000", "DefaultDestDir=11", "printer class: [DestinationDirs] DefaultDestDir=11"),
    ("no Unidrv", "Needs=UNIDRV.OEM", "Needs=TTFSUB.OEM", "printer class: [lx220.install] lacks Include=NTPRINT.INF"),
    ("no PnpLockdown", "PnpLockdown=1\r\n", "", "PnpLockdown: "),
    ("DriverVer without version", "DriverVer=01/15/2026,1.0.0.0", "DriverVer=01/15/2026", "DriverVer: "),
    ("not package-aware for x86", "[PrinterPackageInstallation.x86]\r\nPackageAware=TRUE", "[PrinterPackageInstallation.x86]\r\nPackageAware=FALSE",
     "package-aware: [PrinterPackageInstallation.x86] has no PackageAware=TRUE"),
    ("no core driver dependency", "CoreDriverDependencies={D20EA372-DD35-4950-9ED8-A6335AFE79F0}\r\n\r\n[Strings]",
     "\r\n[Strings]", "package-aware: [PrinterPackageInstallation.x86] CoreDriverDependencies"),
    ("models section missing", "[LabelPrinter.NTx86]", "[LabelPrinter.NTi386]", "syntax: models section [labelprinter.ntx86]"),
    ("copy list missing", "[LX220.Files]", "[LX220.Copies]", "syntax: [lx220.install] CopyFiles names the missing section"),
    ("unbalanced quote", 'Maker="Label Printer"', 'Maker="Label Printer', "syntax: line"),
]

# (name, bytes, expected start of a fault): input no INF of ours should be.
GOOD_BYTES = GOOD.encode("latin-1")
BAD_INPUT = [
    ("empty", b"", "syntax: the INF has no sections"),
    ("UTF-16 without a byte-order mark", GOOD.encode("utf-16-le"), "syntax: lx220.inf is UTF-16 without a byte-order mark"),
    ("only comments", b"; nothing\r\n", "syntax: the INF has no sections"),
    ("no Version", GOOD_BYTES.replace(b"[Version]", b"[Versions]"), "syntax: the INF has no [Version] section"),
    ("no Manufacturer", GOOD_BYTES.replace(b"[Manufacturer]", b"[Maker]"), "syntax: the INF has no [Manufacturer] section"),
    ("unclosed section name", GOOD_BYTES.replace(b"[Strings]", b"[Strings"), "syntax: line"),
    ("quotes and brackets everywhere", b'[Version\r\n"""\r\n[[[\r\n"a=b\r\n' * 50, "syntax: "),
    ("10 MB of lines", GOOD_BYTES + b"; padding\r\nx=\"" + b"y" * (10 << 20) + b"\r\n", "syntax: line"),
]


def run():
    failures = 0
    work = tempfile.mkdtemp()
    path = os.path.join(work, "lx220.inf")

    def check(name, data, expect):
        nonlocal failures
        with open(path, "wb") as f:
            f.write(data)
        try:
            faults, _ = inf_check.check_inf(path)
        except Exception as e:  # a checker fault is a test failure, never a pass
            print("%s: the checker raised %r" % (name, e))
            failures += 1
            return
        if expect is None:
            if faults:
                print("%s: expected no fault, got:\n  %s" % (name, "\n  ".join(faults)))
                failures += 1
            else:
                print("%s: ok" % name)
        elif not any(f.startswith(expect) for f in faults):
            print("%s: expected a fault starting \"%s\", got:\n  %s" % (name, expect, "\n  ".join(faults) or "(none)"))
            failures += 1
        else:
            print("%s: %s" % (name, next(f for f in faults if f.startswith(expect))))

    check("the driver package's INF", GOOD_BYTES, None)
    check("the INF as UTF-16 with a byte-order mark", b"\xff\xfe" + GOOD.encode("utf-16-le"), None)
    for name, old, new, expect in BROKEN:
        if old not in GOOD:
            print("%s: the INF no longer holds %r" % (name, old))
            failures += 1
            continue
        check(name, GOOD.replace(old, new, 1).encode("latin-1"), expect)
    for name, data, expect in BAD_INPUT:
        check(name, data, expect)

    # The plug-in's INI, against the files the INF copies.
    with open(path, "wb") as f:
        f.write(GOOD_BYTES)
    _, inf = inf_check.check_inf(path)
    copied = inf_check.copied_files(inf)
    ini = open(PLUGIN_INI, "rb").read().decode("utf-16")
    ini_path = os.path.join(work, "lx220.ini")
    for name, old, new, expect in [
        ("the plug-in's INI", "", "", None),
        ("OEMFiles with a gap", "OEMConfigFile1=lx220ui.dll", "OEMConfigFile2=lx220ui.dll", "plug-in INI: [OEMFiles] oemconfigfile numbering [2]"),
        ("OEMFiles with blanks", "OEMConfigFile1=lx220ui.dll", "OEMConfigFile1 = lx220ui.dll", "plug-in INI: line"),
        ("OEMFiles naming a file not copied", "OEMConfigFile1=lx220ui.dll", "OEMConfigFile1=lx220ui2.dll", "plug-in INI: [OEMFiles] names lx220ui2.dll"),
        ("no OEMFiles", "[OEMFiles]", "[OEMFile]", "plug-in INI: lx220.ini has no [OEMFiles]"),
    ]:
        with open(ini_path, "wb") as f:
            f.write(b"\xff\xfe" + ini.replace(old, new, 1).encode("utf-16-le") if old else b"\xff\xfe" + ini.encode("utf-16-le"))
        faults = inf_check.check_plugin_ini(ini_path, copied)
        if (expect is None and faults) or (expect and not any(f.startswith(expect) for f in faults)):
            print("%s: expected %s, got: %s" % (name, expect or "no fault", faults or "(none)"))
            failures += 1
        else:
            print("%s: %s" % (name, faults[0] if faults else "ok"))
    print("%d failed" % failures if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(run())
