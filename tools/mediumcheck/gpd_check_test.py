#!/usr/bin/python3
"""The GPD checker passes our feature file and fails, naming the rule, on
copies broken one rule at a time and on files Unidrv could not parse."""
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_medium  # noqa: E402
import gpd_check  # noqa: E402

GOOD = open(os.path.join(HERE, "..", "..", "medium", "driver", "lx220.gpd"), "rb").read().decode("latin-1")
PORTRAIT = "    *Option: PORTRAIT\r\n    {\r\n        *rcNameID: =PORTRAIT_DISPLAY\r\n    }\r\n"
CONSTRAINED = "    *Option: LANDSCAPE_CC90\r\n    {\r\n        *Constraints: %s\r\n"

BROKEN = [
    ("a brace never closed", "*Feature: Resolution\r\n{", "*Feature: Resolution\r\n{\r\n{", "braces: the { opened on line"),
    ("a brace never opened", "*Feature: Resolution\r\n{", "*Feature: Resolution\r\n", "braces: line"),
    ("a feature without options", PORTRAIT + "    *Option: LANDSCAPE_CC90\r\n    {\r\n        *rcNameID: =LANDSCAPE_DISPLAY\r\n    }\r\n",
     "", "options: *Feature Orientation (line 31) has no *Option"),
    ("a default that is no option", "*DefaultOption: GAP_WEB", "*DefaultOption: GAP", "default: *DefaultOption GAP of LabelType"),
    ("a feature without a default", "    *DefaultOption: MIRROR_OFF\r\n", "", "default: *Feature ImageMirror"),
    ("an option the plug-in sets, gone", "*Option: UFG_ON", "*Option: UFG_YES", "plug-in: option UFG_ON of feature PrinterPaperOffset"),
    ("a feature the plug-in reads, gone", "*Feature: ImageNegative", "*Feature: Negative", "plug-in: feature ImageNegative"),
    ("an include that is nowhere", '*Include: "StdNames.gpd"', '*Include: "Extra.gpd"', 'includes: *Include "Extra.gpd"'),
    ("a constraint on an unknown feature", "    *Option: LANDSCAPE_CC90\r\n    {\r\n",
     CONSTRAINED % "Duplex.VERTICAL", "constraints: line 41 names the unknown feature Duplex"),
    ("a constraint on an unknown option", "    *Option: LANDSCAPE_CC90\r\n    {\r\n",
     CONSTRAINED % "LIST(PaperSize.Paper_4_x_6, PaperSize.Paper_9_x_9)", "constraints: line 41 names PaperSize.Paper_9_x_9"),
    ("an invalid combination of an unknown option", "*Command: CmdStartDoc",
     "*InvalidCombination: LIST(ImageMirror.MIRROR_ON, ImageNegative.NEGATIVE_MAYBE)\r\n*Command: CmdStartDoc",
     "constraints: line 408 names ImageNegative.NEGATIVE_MAYBE"),
    ("a switch on an unknown feature", "*Command: CmdStartDoc", "*Switch: Duplex\r\n{\r\n}\r\n*Command: CmdStartDoc",
     "constraints: *Switch on line 408 names the unknown feature Duplex"),
    ("an unterminated string", '*ModelName: "LX-220 Label Printer"', '*ModelName: "LX-220 Label Printer', "syntax: line 9 has an unterminated string"),
]

GOOD_BYTES = GOOD.encode("latin-1")
BAD_INPUT = [
    ("empty", b"", "syntax: lx220.gpd is empty"),
    ("UTF-16 with a byte-order mark", b"\xff\xfe" + GOOD.encode("utf-16-le"), "syntax: lx220.gpd is UTF-16"),
    ("UTF-16 without a byte-order mark", GOOD.encode("utf-16-le"), "syntax: lx220.gpd is UTF-16"),
    ("no features at all", b"*GPDSpecVersion: \"1.0\"\r\n", "plug-in: feature Orientation"),
    ("braces and quotes everywhere", b'{{{ "\r\n}}}}\r\n*Feature: "\r\n{"' * 100, "syntax: line 1 has an unterminated string"),
    ("10 MB of options", GOOD_BYTES.replace(b"*Option: LEVEL15", b"*Option: LEVEL15\r\n{\r\n}\r\n" * ((10 << 20) // 24) + b"*Option: LEVEL15"),
     None),
]


def run():
    failures = 0
    work = tempfile.mkdtemp()
    path = os.path.join(work, "lx220.gpd")

    def check(name, data, expect):
        nonlocal failures
        with open(path, "wb") as f:
            f.write(data)
        try:
            faults = gpd_check.check_gpd(path, check_medium.PLUGIN_FEATURES, ["lx220.gpd", "lx220.ini"])
        except Exception as e:  # a checker fault is a test failure, never a pass
            print("%s: the checker raised %r" % (name, e))
            failures += 1
            return
        if expect is None:
            if faults:
                print("%s: expected no fault, got:\n  %s" % (name, "\n  ".join(faults[:5])))
                failures += 1
            else:
                print("%s: ok" % name)
        elif not any(f.startswith(expect) for f in faults):
            print("%s: expected a fault starting \"%s\", got:\n  %s" % (name, expect, "\n  ".join(faults[:5]) or "(none)"))
            failures += 1
        else:
            print("%s: %s" % (name, next(f for f in faults if f.startswith(expect))))

    check("our feature file", GOOD_BYTES, None)
    for name, old, new, expect in BROKEN:
        if old not in GOOD:
            print("%s: the feature file no longer holds %r" % (name, old))
            failures += 1
            continue
        check(name, GOOD.replace(old, new, 1).encode("latin-1"), expect)
    for name, data, expect in BAD_INPUT:
        check(name, data, expect)
    print("%d failed" % failures if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(run())
