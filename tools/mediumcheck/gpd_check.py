"""Reads a GPD feature file as Unidrv's parser does: ANSI text, "*%"
comments, quoted strings, constructs in braces. Each fault names its rule.

check_gpd(path, required, beside) -> [fault text]
  required: {feature: [options]} that must be present;
  beside: names of the files installed beside the GPD (for *Include).
"""
import os
import re

# GPD files the core driver installs, which any GPD may include.
CORE_INCLUDES = {"stdnames.gpd", "ttfsub.gpd", "locale.gpd", "msxpsinc.gpd"}
PARAMETER = re.compile(r"%[-+#0-9a-zA-Z]*\{")
CONSTRAINT_KEYS = ("*constraints", "*invalidcombination", "*invalidinstallablecombination")


class Block:
    __slots__ = ("kind", "name", "line", "parent", "options", "default")

    def __init__(self, kind, name, line, parent):
        self.kind, self.name, self.line, self.parent = kind, name, line, parent
        self.options, self.default = [], None


def tokens(text, faults):
    """(line, keyword, value) entries and (line, "{"/"}", None) marks."""
    out = []
    for number, raw in enumerate(text.splitlines(), 1):
        i, n = 0, len(raw)
        line = []
        quoted = False
        while i < n:
            c = raw[i]
            if quoted:
                if c == '"':
                    quoted = False
                line.append(c)
            elif raw.startswith("*%", i):
                break
            elif c == '"':
                quoted = True
                line.append(c)
            elif c == "%" and PARAMETER.match(raw, i):
                # A command parameter such as %d{CursorYPos}: its braces are
                # no construct.
                close = raw.find("}", i)
                if close < 0:
                    faults.append("braces: line %d opens a parameter's { it does not close" % number)
                    break
                line.append(raw[i:close + 1])
                i = close
            elif c in "{}":
                out.append((number, "".join(line), None))
                line = []
                out.append((number, c, None))
            else:
                line.append(c)
            i += 1
        if quoted:
            faults.append("syntax: line %d has an unterminated string" % number)
        out.append((number, "".join(line), None))
    result = []
    for number, text, _ in out:
        if text in ("{", "}"):
            result.append((number, text, None))
            continue
        for m in re.finditer(r"(\*[A-Za-z_?][\w?]*)\s*:\s*((?:\"[^\"]*\"|[^*\"])*)", text):
            result.append((number, m.group(1), m.group(2).strip()))
    return result


def option_refs(value):
    """Feature.Option pairs of a constraint value: F.O or LIST(F.O, ...)."""
    return re.findall(r"([\w]+)\.([\w]+)", value)


def check_gpd(path, required=None, beside=()):
    name = os.path.basename(path)
    try:
        data = open(path, "rb").read()
    except OSError as e:
        return ["cannot read %s: %s" % (name, e.strerror)]
    if not data.strip():
        return ["syntax: %s is empty" % name]
    if data[:2] in (b"\xff\xfe", b"\xfe\xff") or data[1:4096:2].count(0) > len(data[:4096]) // 4:
        return ["syntax: %s is UTF-16; Unidrv reads a GPD as ANSI text" % name]
    text = data.decode("latin-1")
    faults = []
    root = Block("root", None, 0, None)
    features, stack, pending = {}, [root], None
    switches, constraints, includes = [], [], []
    for number, key, value in tokens(text, faults):
        if key == "{":
            if pending is None:
                pending = Block("block", None, number, stack[-1])
            stack.append(pending)
            pending = None
            continue
        if key == "}":
            if len(stack) == 1:
                faults.append("braces: line %d closes a } that was never opened" % number)
            else:
                stack.pop()
            pending = None
            continue
        low = key.lower()
        parent = stack[-1]
        pending = Block(low, value.strip('"'), number, parent)
        if low == "*feature":
            features.setdefault(pending.name, pending)
            pending = features[pending.name]
        elif low == "*option":
            feature = enclosing(parent, "*feature")
            if feature is None:
                faults.append("options: *Option %s on line %d lies in no *Feature" % (pending.name, number))
            else:
                feature.options.append(pending.name)
        elif low == "*defaultoption":
            feature = enclosing(parent, "*feature")
            if feature is not None and feature.default is None:
                feature.default = (value, number)
        elif low == "*switch":
            switches.append(pending)
        elif low == "*case":
            pending.parent = parent
            switches.append(pending)
        elif low in CONSTRAINT_KEYS:
            constraints.append((number, low, value, enclosing(parent, "*feature"), enclosing(parent, "*option")))
        elif low == "*include":
            includes.append((number, value.strip('"')))
    for block in stack[1:]:
        faults.append("braces: the { opened on line %d is never closed" % block.line)
    for feature in features.values():
        if not feature.options:
            faults.append("options: *Feature %s (line %d) has no *Option" % (feature.name, feature.line))
        if feature.default is None:
            faults.append("default: *Feature %s (line %d) has no *DefaultOption" % (feature.name, feature.line))
        elif feature.default[0] not in feature.options:
            faults.append("default: *DefaultOption %s of %s (line %d) is none of its options" % (feature.default[0], feature.name, feature.default[1]))
    for block in switches:
        if block.kind == "*switch" and block.name not in features:
            faults.append("constraints: *Switch on line %d names the unknown feature %s" % (block.line, block.name))
        if block.kind == "*case":
            switch = enclosing(block.parent, "*switch")
            feature = features.get(switch.name) if switch else None
            if feature and block.name != "*" and block.name not in feature.options:
                faults.append("constraints: *Case %s on line %d is no option of %s" % (block.name, block.line, feature.name))
    for number, kind, value, _, _ in constraints:
        refs = option_refs(value)
        if not refs:
            faults.append("constraints: %s on line %d names no Feature.Option" % (kind[1:], number))
        for f, o in refs:
            if f not in features:
                faults.append("constraints: line %d names the unknown feature %s" % (number, f))
            elif o not in features[f].options:
                faults.append("constraints: line %d names %s.%s, no option of %s" % (number, f, o, f))
    known = {b.lower() for b in beside}
    for number, include in includes:
        base = include.replace("\\", "/").split("/")[-1].lower()
        if base not in known and base not in CORE_INCLUDES:
            faults.append("includes: *Include \"%s\" on line %d is neither beside %s nor a core driver file" % (include, number, name))
    for feature, options in (required or {}).items():
        if feature not in features:
            faults.append("plug-in: feature %s is not in %s" % (feature, name))
            continue
        for option in options:
            if option not in features[feature].options:
                faults.append("plug-in: option %s of feature %s is not in %s" % (option, feature, name))
    return limited(faults)


def limited(faults, most=100):
    """A file broken on every line reads as its first faults and a count."""
    if len(faults) <= most:
        return faults
    return faults[:most] + ["... and %d more faults" % (len(faults) - most)]


def enclosing(block, kind):
    while block is not None:
        if block.kind == kind:
            return block
        block = block.parent
    return None
