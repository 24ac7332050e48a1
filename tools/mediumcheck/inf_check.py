"""Reads a printer driver's INF as SetupAPI does and applies the rules
InfVerif applies to printer INFs, the printer-class rules and the rules of
the plug-in's INI. Each fault names its rule first ("1230: ...").

check_inf(path) -> [fault text]; check_plugin_ini(path, copied) likewise.
"""
import os
import re

PRINTER_CLASS_GUID = "{4D36E979-E325-11CE-BFC1-08002BE10318}"
UNIDRV_CORE = "{D20EA372-DD35-4950-9ED8-A6335AFE79F0}"
PRINTER_DIRID = "66000"
MAX_DEPENDENT_FILES = 64
# Sections the system reads by name, and the decorations it reads them with.
SYSTEM_SECTIONS = re.compile(
    r"^(version|manufacturer|strings(\..+)?|sourcedisksnames(\..+)?|sourcedisksfiles(\..+)?"
    r"|destinationdirs|printerpackageinstallation(\..+)?|defaultinstall(\..+)?|classinstall32(\..+)?)$")
ARCH_OF_DECORATION = {"ntamd64": "amd64", "ntx86": "x86", "ntarm64": "arm64"}
FILE_LISTS = ("copyfiles", "delfiles", "renfiles")
REG_LISTS = ("addreg", "delreg")


def decode(data):
    """The INF's text as SetupAPI reads it, or (None, reason).

    SetupAPI takes UTF-16 only with its byte-order mark; without one the
    bytes are read as the ANSI code page, so such a file is garbage to it."""
    if data[:2] == b"\xff\xfe":
        return data[2:].decode("utf-16-le", "replace"), None
    if data[:2] == b"\xfe\xff":
        return data[2:].decode("utf-16-be", "replace"), None
    if data[:3] == b"\xef\xbb\xbf":
        return data[3:].decode("utf-8", "replace"), None
    sample = data[:4096]
    if len(sample) >= 4 and sample[1::2].count(0) > len(sample) // 4:
        return None, "UTF-16 without a byte-order mark, which SetupAPI reads as ANSI"
    return data.decode("latin-1"), None


class Line:
    __slots__ = ("number", "key", "value", "fields")

    def __init__(self, number, key, value, fields):
        self.number, self.key, self.value, self.fields = number, key, value, fields


def split_fields(text):
    """Comma-separated fields, quotes removed (a doubled quote is one)."""
    fields, current, quoted, i = [], [], False, 0
    while i < len(text):
        c = text[i]
        if c == '"':
            if quoted and text[i + 1:i + 2] == '"':
                current.append('"')
                i += 1
            else:
                quoted = not quoted
        elif c == "," and not quoted:
            fields.append("".join(current).strip())
            current = []
        else:
            current.append(c)
        i += 1
    fields.append("".join(current).strip())
    return fields


class Inf:
    """Sections in file order, each a list of Line; the faults of reading."""

    def __init__(self, text):
        self.sections = {}
        self.section_lines = {}
        self.faults = []
        current = None
        pending, start = "", 0
        for number, raw in enumerate(text.splitlines(), 1):
            line, open_quote = self.strip_comment(raw)
            if open_quote:
                self.faults.append("syntax: line %d has an unbalanced quote" % number)
            line = line.strip()
            if line.endswith("\\") and not line.startswith("["):
                pending += line[:-1]
                start = start or number
                continue
            if pending:
                line, number, pending, start = pending + line, start, "", 0
            if not line:
                continue
            if line.startswith("["):
                if not line.endswith("]"):
                    self.faults.append("syntax: line %d opens a section name it does not close" % number)
                    current = None
                    continue
                name = line[1:-1].strip().lower()
                current = self.sections.setdefault(name, [])
                self.section_lines.setdefault(name, number)
                continue
            if current is None:
                self.faults.append("syntax: line %d lies outside any section" % number)
                continue
            eq = self.find_unquoted(line, "=")
            if eq < 0:
                current.append(Line(number, None, line, split_fields(line)))
            else:
                key = split_fields(line[:eq])[0]
                current.append(Line(number, key, line[eq + 1:].strip(), split_fields(line[eq + 1:])))

    @staticmethod
    def strip_comment(line):
        quoted = False
        for i, c in enumerate(line):
            if c == '"':
                quoted = not quoted
            elif c == ";" and not quoted:
                return line[:i], False
        return line, quoted

    @staticmethod
    def find_unquoted(line, char):
        quoted = False
        for i, c in enumerate(line):
            if c == '"':
                quoted = not quoted
            elif c == char and not quoted:
                return i
        return -1

    def section(self, name):
        return self.sections.get(name.lower(), [])

    def has(self, name):
        return name.lower() in self.sections

    def values(self, section, key):
        return [l for l in self.section(section) if l.key is not None and l.key.lower() == key.lower()]

    def first(self, section, key, default=""):
        """The first field of the key's first line."""
        found = self.values(section, key)
        return found[0].fields[0] if found else default


class InfChecker:
    def __init__(self, inf):
        self.inf = inf
        self.faults = list(inf.faults)
        self.strings = {}

    def fault(self, text):
        self.faults.append(text)

    def run(self):
        inf = self.inf
        if not inf.sections:
            self.fault("syntax: the INF has no sections")
            return self.faults
        if not inf.has("version"):
            self.fault("syntax: the INF has no [Version] section")
        self.check_strings()
        self.check_version()
        models = self.check_manufacturer()
        installs = self.check_models(models)
        referenced = self.check_installs(installs)
        self.check_source_files(models, installs)
        self.check_unreferenced(referenced)
        return self.faults

    def resolve(self, text):
        return re.sub(r"%([^%]+)%", lambda m: self.strings.get(m.group(1).lower(), m.group(0)), text)

    def check_strings(self):
        seen = {}
        for name in self.inf.sections:
            if name != "strings":
                continue
            for line in self.inf.section(name):
                if line.key is None:
                    self.fault("syntax: line %d of [Strings] is no token=value line" % line.number)
                    continue
                token = line.key.lower()
                if token in seen:
                    self.fault("1235: %%%s%% is defined twice in [Strings] (lines %d and %d)" % (line.key, seen[token], line.number))
                    continue
                seen[token] = line.number
                self.strings[token] = line.fields[0] if line.fields else ""
        for name, lines in self.inf.sections.items():
            if name.startswith("strings"):
                continue
            for line in lines:
                text = (line.key or "") + "=" + line.value
                for token in re.findall(r"%([^%\s]*)%", text):
                    if token and not token.isdigit() and token.lower() not in self.strings:
                        self.fault("1235: %%%s%% on line %d is not defined in [Strings]" % (token, line.number))

    def check_version(self):
        inf = self.inf
        provider = self.resolve(inf.first("version", "Provider"))
        if not provider:
            self.fault("1204: [Version] names no Provider")
        elif "microsoft" in provider.lower():
            self.fault("1204: Provider \"%s\" must not be Microsoft" % provider)
        if not inf.first("version", "CatalogFile") and not any(
                inf.first("version", "CatalogFile." + a) for a in ("NTamd64", "NTx86")):
            self.fault("1233: [Version] names no CatalogFile")
        cls, guid = inf.first("version", "Class"), inf.first("version", "ClassGuid")
        if cls.lower() != "printer" or guid.upper() != PRINTER_CLASS_GUID:
            self.fault("printer class: Class=%s, ClassGuid=%s is not Class=Printer with ClassGuid=%s" % (cls, guid, PRINTER_CLASS_GUID))
        found = inf.values("version", "DriverVer")
        fields = found[0].fields if found else [""]
        driver_ver = ",".join(fields)
        if not re.match(r"^\d{1,2}/\d{1,2}/\d{4}$", fields[0]) or len(fields) < 2 or not re.match(r"^\d+(\.\d+){3}$", fields[1]):
            self.fault("DriverVer: \"%s\" is not mm/dd/yyyy,w.x.y.z" % driver_ver)
        if inf.first("version", "PnpLockdown") != "1":
            self.fault("PnpLockdown: [Version] has no PnpLockdown=1")
        if inf.has("defaultinstall") and inf.has("manufacturer"):
            self.fault("1212: [DefaultInstall] and [Manufacturer] are both present")

    def check_manufacturer(self):
        """{models section (lower case): architecture or None}."""
        models = {}
        if not self.inf.has("manufacturer"):
            self.fault("syntax: the INF has no [Manufacturer] section")
        for line in self.inf.section("manufacturer"):
            base = line.fields[0]
            decorations = [d for d in line.fields[1:] if d]
            if not decorations:
                models[base.lower()] = None
            for d in decorations:
                models[(base + "." + d).lower()] = ARCH_OF_DECORATION.get(d.split(".")[0].lower())
        for name, arch in models.items():
            if not self.inf.has(name):
                self.fault("syntax: models section [%s] named by [Manufacturer] is missing" % name)
        archs = {a for a in models.values() if a}
        for arch in archs:
            section = "PrinterPackageInstallation." + arch
            if self.inf.first(section, "PackageAware").upper() != "TRUE":
                self.fault("package-aware: [%s] has no PackageAware=TRUE" % section)
            deps = [d.upper() for l in self.inf.values(section, "CoreDriverDependencies") for d in l.fields]
            if UNIDRV_CORE not in deps:
                self.fault("package-aware: [%s] CoreDriverDependencies does not name Unidrv's core driver %s" % (section, UNIDRV_CORE))
        return models

    def check_models(self, models):
        """{install section (lower case): [architectures]}."""
        installs = {}
        for name, arch in models.items():
            for line in self.inf.section(name):
                if line.key is None or len(line.fields) < 1 or not line.fields[0]:
                    self.fault("syntax: line %d of [%s] names no install section" % (line.number, name))
                    continue
                installs.setdefault(line.fields[0].lower(), set()).add(arch)
        return installs

    def install_sections(self, name, arch):
        """The install section and the decorated one SetupAPI prefers."""
        if arch:
            decorated = "%s.nt%s" % (name, arch)
            if self.inf.has(decorated):
                return [decorated]
        return [name]

    def copied(self, section):
        """[(file name, list section or None)] an install section copies."""
        files = []
        for line in self.inf.values(section, "CopyFiles"):
            for item in line.fields:
                if item.startswith("@"):
                    files.append((item[1:], None))
                elif item:
                    files.extend((l.fields[0], item) for l in self.inf.section(item) if l.fields and l.fields[0])
        for key in ("DataFile", "DriverFile", "ConfigFile", "HelpFile"):
            for line in self.inf.values(section, key):
                if line.fields[0] and line.fields[0].lower() not in {f.lower() for f, _ in files}:
                    files.append((line.fields[0], None))
        return files

    def check_installs(self, installs):
        referenced = set()
        for name, archs in installs.items():
            for arch in archs:
                for section in self.install_sections(name, arch):
                    referenced.add(section)
                    if not self.inf.has(section):
                        self.fault("syntax: install section [%s] named by a model is missing" % section)
                        continue
                    for key in FILE_LISTS + REG_LISTS:
                        for line in self.inf.values(section, key):
                            for item in line.fields:
                                if item and not item.startswith("@"):
                                    referenced.add(item.lower())
                                    if not self.inf.has(item):
                                        self.fault("syntax: [%s] %s names the missing section [%s]" % (section, line.key, item))
                    # A data section of our own is referenced; Unidrv's lie in NTPRINT.INF.
                    for line in self.inf.values(section, "DataSection"):
                        referenced.update(v.lower() for v in line.fields if self.inf.has(v))
                    includes = {v.lower() for l in self.inf.values(section, "Include") for v in l.fields}
                    needs = {v.upper() for l in self.inf.values(section, "Needs") for v in l.fields}
                    if "ntprint.inf" not in includes or not needs & {"UNIDRV.OEM", "UNIDRV_BIDI.OEM"}:
                        self.fault("printer class: [%s] lacks Include=NTPRINT.INF with Needs=UNIDRV.OEM" % section)
                    files = self.copied(section)
                    if len(files) > MAX_DEPENDENT_FILES:
                        self.fault("dependent files: [%s] copies %d files, more than %d" % (section, len(files), MAX_DEPENDENT_FILES))
                    data_file = self.inf.first(section, "DataFile")
                    if data_file and data_file.lower() not in {f.lower() for f, _ in files}:
                        self.fault("printer class: DataFile %s of [%s] is not copied" % (data_file, section))
                    for _, lst in files:
                        if lst and self.inf.first("destinationdirs", lst, None) is None and \
                                self.inf.first("destinationdirs", "DefaultDestDir") != PRINTER_DIRID:
                            self.fault("printer class: [%s] copies to no printer driver folder (DestinationDirs %s)" % (lst, PRINTER_DIRID))
        for line in self.inf.section("destinationdirs"):
            if line.fields and line.fields[0] != PRINTER_DIRID:
                self.fault("printer class: [DestinationDirs] %s=%s is not the printer driver folder %s" % (line.key, line.value, PRINTER_DIRID))
        if not self.inf.has("destinationdirs"):
            self.fault("printer class: the INF has no [DestinationDirs] (DefaultDestDir=%s)" % PRINTER_DIRID)
        return referenced

    def source_files(self, arch):
        decorated = self.inf.section("SourceDisksFiles." + arch)
        plain = self.inf.section("SourceDisksFiles")
        return {l.key.lower(): l for l in plain + decorated if l.key}

    def check_source_files(self, models, installs):
        archs = sorted({a for a in models.values() if a})
        for arch in archs:
            listed = self.source_files(arch)
            disks = {l.key for l in self.inf.section("SourceDisksNames." + arch) + self.inf.section("SourceDisksNames") if l.key}
            seen = set()
            for name, section_archs in installs.items():
                if arch not in section_archs and None not in section_archs:
                    continue
                for section in self.install_sections(name, arch):
                    for f, _ in self.copied(section):
                        if f.lower() in seen:
                            continue
                        seen.add(f.lower())
                        line = listed.get(f.lower())
                        if line is None:
                            self.fault("1230: %s copied by [%s] is not in [SourceDisksFiles] for %s" % (f, section, arch))
                        elif line.fields[0] not in disks:
                            self.fault("1230: %s is on disk %s, which [SourceDisksNames] does not name for %s" % (f, line.fields[0], arch))

    def check_unreferenced(self, referenced):
        models = set()
        for line in self.inf.section("manufacturer"):
            base = line.fields[0].lower()
            models.add(base)
            models.update(base + "." + d.lower() for d in line.fields[1:] if d)
        for name in self.inf.sections:
            if SYSTEM_SECTIONS.match(name) or name in models or name in referenced:
                continue
            self.fault("2083: section [%s] (line %d) is not referenced" % (name, self.inf.section_lines[name]))


def load(path):
    try:
        data = open(path, "rb").read()
    except OSError as e:
        return None, "cannot read %s: %s" % (path, e.strerror)
    text, reason = decode(data)
    if text is None:
        return None, "syntax: %s is %s" % (os.path.basename(path), reason)
    return Inf(text), None


def check_inf(path):
    inf, fault = load(path)
    if inf is None:
        return [fault], None
    faults = InfChecker(inf).run()
    if len(faults) > 100:
        faults = faults[:100] + ["... and %d more faults" % (len(faults) - 100)]
    return faults, inf


def copied_files(inf):
    """Every file the INF's models copy, over all architectures."""
    checker = InfChecker(inf)
    files = set()
    for name, archs in checker.check_models({k: v for k, v in _models(inf).items()}).items():
        for arch in archs:
            for section in checker.install_sections(name, arch):
                files.update(f for f, _ in checker.copied(section))
    return files


def _models(inf):
    models = {}
    for line in inf.section("manufacturer"):
        decorations = [d for d in line.fields[1:] if d]
        if not decorations:
            models[line.fields[0].lower()] = None
        for d in decorations:
            models[(line.fields[0] + "." + d).lower()] = ARCH_OF_DECORATION.get(d.split(".")[0].lower())
    return models


def check_plugin_ini(path, copied):
    """The INI Unidrv reads the plug-in's name from: [OEMFiles] numbered
    from 1 without gaps, no blanks around "=", every file one the INF copies."""
    name = os.path.basename(path)
    try:
        data = open(path, "rb").read()
    except OSError as e:
        return ["plug-in INI: cannot read %s: %s" % (name, e.strerror)]
    text, reason = decode(data)
    if text is None:
        return ["plug-in INI: %s is %s" % (name, reason)]
    faults, numbers, section = [], {}, None
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        if line.startswith("["):
            section = line.strip("[]").strip().lower()
            continue
        if section != "oemfiles" or not line or line.startswith(";"):
            continue
        key, eq, value = raw.partition("=")
        if not eq:
            faults.append("plug-in INI: line %d of [OEMFiles] is no key=value line" % number)
            continue
        if key != key.rstrip() or value != value.lstrip():
            faults.append("plug-in INI: line %d of [OEMFiles] has blanks around \"=\"" % number)
        m = re.match(r"^(OEM\w*?File)(\d+)$", key.strip(), re.I)
        if not m:
            faults.append("plug-in INI: [OEMFiles] key %s is not OEM...File<n>" % key.strip())
            continue
        numbers.setdefault(m.group(1).lower(), []).append(int(m.group(2)))
        if value.strip().lower() not in {c.lower() for c in copied}:
            faults.append("plug-in INI: [OEMFiles] names %s, which the INF does not copy" % value.strip())
    if not numbers:
        faults.append("plug-in INI: %s has no [OEMFiles] entry naming the plug-in" % name)
    for kind, found in numbers.items():
        if sorted(found) != list(range(1, len(found) + 1)):
            faults.append("plug-in INI: [OEMFiles] %s numbering %s is not 1..%d without gaps" % (kind, sorted(found), len(found)))
    return faults
