#!/usr/bin/env python3
"""Fails when a lower layer of the code includes a higher one.

Reads every quoted #include of the C++ sources, headers and resource scripts
below the given root (the repository by default) and checks it against the
layers below. A folder belongs to the layer of its longest listed prefix.

- A layer may include its own rank and lower ranks of its own product and the
  shared layers (common, platform, ui); never another product's code.
- Bindings (the real Windows side and the simulated machine, the real and
  in-memory windows) are included only by programs, other bindings and tests.
- Test code (any tests/ or fuzz/ folder, tools/) may include anything;
  nothing shipped includes test code or tools/.
"""
import os
import re
import sys

# prefix -> (product, rank, kind); kind: "logic", "binding" or "program"
LAYERS = {
    "common": ("shared", 0, "logic"),
    "platform": ("shared", 1, "logic"),
    "platform/win32": ("shared", 2, "binding"),
    "platform/sim": ("shared", 2, "binding"),
    "platform/posix": ("shared", 2, "binding"),
    "ui": ("shared", 3, "logic"),
    "ui/win32": ("shared", 4, "binding"),
    "ui/fake": ("shared", 4, "binding"),
    "installer/core": ("installer", 10, "logic"),
    "installer/engine": ("installer", 11, "logic"),
    "installer/ports": ("installer", 12, "logic"),
    "installer/usb": ("installer", 12, "logic"),
    "installer/discovery": ("installer", 12, "logic"),
    "installer/setup": ("installer", 13, "logic"),
    "installer/unattended": ("installer", 14, "logic"),
    "installer/pages": ("installer", 14, "logic"),
    "installer/wizard": ("installer", 15, "logic"),
    "installer/app": ("installer", 16, "program"),
    "launcher": ("launcher", 10, "logic"),
    "launcher/app": ("launcher", 14, "program"),
    "plugin/resources": ("plugin", 10, "logic"),
    "plugin/oem": ("plugin", 10, "logic"),
    "plugin/core": ("plugin", 11, "logic"),
    "plugin/papers": ("plugin", 12, "logic"),
    "plugin/capabilities": ("plugin", 12, "logic"),
    "plugin/pages": ("plugin", 13, "logic"),
    "plugin/win32": ("plugin", 14, "program"),
    "plugin/papers/win32": ("plugin", 14, "program"),
}
SOURCE = re.compile(r"\.(h|hpp|cpp|cc|c|rc|rci)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SKIP_DIRS = {".git", "build", "out", "node_modules"}


def is_test_code(path):
    parts = path.split("/")
    return parts[0] in ("tests", "tools") or "tests" in parts[1:] or "fuzz" in parts


def layer_of(path):
    folder = os.path.dirname(path)
    while folder:
        if folder in LAYERS:
            return folder
        folder = os.path.dirname(folder)
    return None


def resolve(root, path, included):
    for candidate in (included, os.path.normpath(os.path.join(os.path.dirname(path), included))):
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate.replace(os.sep, "/")
    return None


def violation(source, target):
    """The reason `source` may not include `target`, or None."""
    if is_test_code(target):
        return "shipped code includes test code or tools"
    src, dst = layer_of(source), layer_of(target)
    if src is None or dst is None or src == dst:
        return None
    s_product, s_rank, s_kind = LAYERS[src]
    d_product, d_rank, d_kind = LAYERS[dst]
    if d_product not in ("shared", s_product):
        return f"{src} ({s_product}) includes another product's {dst}"
    if d_kind == "binding" and s_kind == "logic":
        return f"logic in {src} includes the binding {dst}"
    if d_rank > s_rank:
        return f"{src} includes the higher layer {dst}"
    return None


def check(root):
    faults = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in SKIP_DIRS)
        for name in sorted(files):
            if not SOURCE.search(name):
                continue
            path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
            if is_test_code(path):
                continue
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = resolve(root, path, m.group(1))
                    reason = target and violation(path, target)
                    if reason:
                        faults.append(f"{path}:{number}: includes {target}: {reason}")
    return faults


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = check(os.path.abspath(root))
    for fault in faults:
        print(fault)
    if faults:
        print(f"layer check: {len(faults)} include(s) point the wrong way")
        return 1
    print("layer check: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
