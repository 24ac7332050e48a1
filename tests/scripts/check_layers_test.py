#!/usr/bin/env python3
"""The layer check passes a tree whose includes point down and fails, naming
the file and line, on each kind of wrong include planted in it."""
import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check-layers.py")

CLEAN = {
    "common/text.h": "",
    "platform/os.h": '#include "common/text.h"\n',
    "platform/win32/win32_os.h": '#include "platform/os.h"\n',
    "installer/core/trace.h": '#include "platform/os.h"\n',
    "installer/engine/install.h": '#include "installer/core/trace.h"\n',
    "installer/ports/usb.h": '#include "installer/engine/install.h"\n',
    "installer/setup/usb_install.h": '#include "installer/ports/usb.h"\n#include "installer/engine/install.h"\n',
    "installer/pages/page.h": '#include "installer/setup/usb_install.h"\n',
    "installer/pages/res/pages.rc": '#include "dialogs.rc"\n#include "installer/core/trace.h"\n',
    "installer/pages/res/dialogs.rc": "",
    "installer/wizard/sheet.h": '#include "installer/pages/page.h"\n',
    "installer/app/main.cpp": '#include "installer/wizard/sheet.h"\n#include "platform/win32/win32_os.h"\n',
    "installer/wizard/tests/sheet_test.cpp": '#include "tools/host.h"\n#include "platform/win32/win32_os.h"\n',
    "plugin/core/merge.h": '#include "platform/os.h"\n',
    "plugin/pages/page.h": '#include "plugin/core/merge.h"\n',
    "tools/host.h": '#include "installer/app/main.cpp"\n',
}

PLANTED = [
    ("installer/engine/install.h", '#include "installer/ports/usb.h"', "higher layer installer/ports"),
    ("installer/ports/usb.h", '#include "installer/setup/usb_install.h"', "higher layer installer/setup"),
    ("installer/core/trace.h", '#include "installer/wizard/sheet.h"', "higher layer installer/wizard"),
    ("installer/pages/page.h", '#include "platform/win32/win32_os.h"', "binding platform/win32"),
    ("plugin/core/merge.h", '#include "installer/core/trace.h"', "another product"),
    ("installer/engine/install.h", '#include "tools/host.h"', "test code or tools"),
    ("common/text.h", '#include "platform/os.h"', "higher layer platform"),
]


def run(root):
    done = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
    return done.returncode, done.stdout


def make_tree(root, extra=None):
    for path, text in CLEAN.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write(text)
    if extra:
        path, line = extra
        with open(os.path.join(root, path), "a") as f:
            f.write(line + "\n")


def main():
    failures = 0
    with tempfile.TemporaryDirectory() as root:
        make_tree(root)
        code, out = run(root)
        if code != 0:
            print("FAIL: a clean tree was refused:\n" + out)
            failures += 1
    for path, line, reason in PLANTED:
        with tempfile.TemporaryDirectory() as root:
            make_tree(root, (path, line))
            code, out = run(root)
            if code == 0 or path not in out or reason not in out:
                print(f"FAIL: {line} in {path} was not reported ({reason}):\n{out}")
                failures += 1
    print(f"layer check test: {1 + len(PLANTED) - failures} of {1 + len(PLANTED)} cases as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
