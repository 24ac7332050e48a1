#!/usr/bin/python3
"""Checks that an installation medium hangs together: the models of
Setup/cfgSetup.ini, the driver package's INF and feature file, the files
the INF copies for each word size, the removal lists, the languages'
documents, the plug-in's keywords and its help files; the INF against the
rules Windows applies to printer INFs, the feature file's own syntax, the
plug-in's INI, and the catalog against every file it covers.

usage: check_medium.py MEDIUM_FOLDER
Prints one line per fault and exits 1, or prints "medium ok" and exits 0.
"""
import os
import re
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import chm  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "catalog"))
import catalog  # noqa: E402
import gpd_check  # noqa: E402
import inf_check  # noqa: E402

ARCHES = {"NTamd64": "amd64", "NTx86": "x86"}

# Features and options the plug-in reads and sets through the core driver.
# Each keyword must also be in the built plug-in, so a change there shows.
PLUGIN_FEATURES = {
    "Orientation": ["PORTRAIT", "LANDSCAPE_CC90"],
    "ImageryType": ["USEPRINTER_CFG", "THERMAL", "TRANSFER_THERMAL"],
    "LabelType": ["AUTO_TYPE", "LABEL_TYPE_DEVICE", "AUTO", "CONTINUOUS", "GAP_WEB", "MARK", "CONTINUOUS_VAR"],
    "OutputRate": ["IN%d" % i for i in range(8)],
    "PaperSize": ["CUSTOMSIZE", "Paper_2_x_4", "Paper_4_x_4", "Paper_4_x_6", "Paper_3_x_4", "Paper_40_x_30",
                  "Paper_50_x_30", "Paper_60_x_40", "Paper_75_x_60", "Paper_80_x_60", "Paper_80_x_50"],
    "ImageMirror": ["MIRROR_ON", "MIRROR_OFF"],
    "PrinterLanuage": ["LANGUAGE_TSPL", "LANGUAGE_ZPL"],
    "ImageNegative": ["NEGATIVE_ON", "NEGATIVE_OFF"],
    "PrinterPaperOffset": ["UFG_ON", "UFG_OFF"],
    "PrinterSetting": ["ON", "OFF"],
    "OutputDensity": ["LEVEL%d" % i for i in range(16)],
}

# The installer's UI languages: suffix and document folder under Setup.
LANGUAGE_FOLDERS = {
    "enus": "English", "zhcn": "Simplified_Chinese", "ru": "Russian", "ja": "Japanese",
    "zhtw": "Traditional_Chinese", "it": "Italian", "esmx": "Spanish", "tr": "Turkish", "pl": "Polish",
    "tl": "Thailand", "pt": "Portugal", "de": "German", "fr": "French", "nl": "Dutch",
}
# Languages with a help file of the plug-in (lx220ui<code>.chm). Every
# installer language has a resource module and a help file of the plug-in.
PLUGIN_LANGUAGES = list(LANGUAGE_FOLDERS)
HELP_CONTEXTS = [1000, 1100, 1200, 2000]


def read_text(path):
    data = open(path, "rb").read()
    if data[:2] in (b"\xff\xfe", b"\xfe\xff"):
        return data.decode("utf-16")
    if data[:3] == b"\xef\xbb\xbf":
        return data[3:].decode("utf-8")
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("latin-1")


def strip_comment(line):
    quoted = False
    for i, c in enumerate(line):
        if c == '"':
            quoted = not quoted
        elif c == ";" and not quoted:
            return line[:i]
    return line


def parse_ini(path, keep_lines=False):
    """{section (lower case): [(key, value) or (line, None)]} in file order."""
    sections, current = {}, None
    for raw in read_text(path).splitlines():
        line = strip_comment(raw).strip()
        if not line:
            continue
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].strip().lower(), [])
            continue
        if current is None:
            continue
        if "=" in line and not keep_lines:
            key, value = line.split("=", 1)
            current.append((key.strip(), value.strip()))
        else:
            current.append((line, None))
    return sections


def value(section, key, default=""):
    for k, v in section:
        if v is not None and k.lower() == key.lower():
            return v.strip('"')
    return default


def quoted_names(text):
    return re.findall(r'"([^"]*)"', text)


class Medium:
    def __init__(self, root):
        self.root = root
        self.faults = []

    def fault(self, text):
        self.faults.append(text)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def find(self, *parts):
        """A file of the medium, its name matched without regard to case as Windows does."""
        folder = self.root
        for part in parts:
            if not os.path.isdir(folder):
                return None
            names = {n.lower(): n for n in os.listdir(folder)}
            if part.lower() not in names:
                return None
            folder = os.path.join(folder, names[part.lower()])
        return folder

    def check(self):
        cfg_path = self.find("Setup", "cfgSetup.ini")
        if not cfg_path:
            self.fault("Setup\\cfgSetup.ini is missing")
            return
        cfg = parse_ini(cfg_path)
        cfg_lines = parse_ini(cfg_path, keep_lines=True)
        install = cfg.get("install", [])
        inf_name = value(install, "InfName")
        inf_path = self.find(*inf_name.replace("\\", "/").split("/")) if inf_name else None
        if not inf_path:
            self.fault("INF \"%s\" named by [Install] InfName is not on the medium" % inf_name)
            return
        faults, parsed = inf_check.check_inf(inf_path)
        for f in faults:
            self.fault("%s: %s" % (inf_name, f))
        if parsed is None:
            return
        inf = parse_ini(inf_path)
        self.check_models(cfg, cfg_lines, inf, inf_name)
        self.check_files(inf)
        self.check_uninstall(cfg, inf)
        self.check_languages(cfg_lines, inf)
        self.check_catalog(inf, inf_path)

    def package_files(self):
        """The INF and the files it copies, each word size's folder, as
        paths relative to the medium: what the catalog covers."""
        cfg_path = self.find("Setup", "cfgSetup.ini")
        inf_name = value(parse_ini(cfg_path).get("install", []), "InfName") if cfg_path else ""
        inf_path = self.find(*inf_name.replace("\\", "/").split("/")) if inf_name else None
        if not inf_path:
            return []
        inf = parse_ini(inf_path)
        names = [os.path.relpath(inf_path, self.root).replace(os.sep, "/")]
        for folder in self.arch_folders(inf).values():
            for name in sorted(self.copied_files(inf)):
                path = self.find(*[p for p in folder.split("\\") if p], name)
                names.append(os.path.relpath(path, self.root).replace(os.sep, "/") if path else "/".join(
                    [p for p in folder.split("\\") if p] + [name]))
        return names

    def arch_folders(self, inf):
        folders = {}
        for decoration, arch in ARCHES.items():
            disks = inf.get(("SourceDisksNames." + decoration.replace("NT", "")).lower(), [])
            folder = ""
            for _, v in disks:
                fields = (v or "").split(",")
                folder = fields[3].strip().strip("\\") if len(fields) > 3 else ""
            folders[arch] = folder
        return folders

    def check_catalog(self, inf, inf_path):
        cat_name = value(inf.get("version", []), "CatalogFile")
        if not cat_name:
            return  # the INF check names the missing CatalogFile
        folder = os.path.dirname(inf_path)
        names = {n.lower(): n for n in os.listdir(folder)}
        cat_path = os.path.join(folder, names[cat_name.lower()]) if cat_name.lower() in names else None
        if not cat_path:
            self.fault("%s named by CatalogFile is not beside the INF" % cat_name)
            return
        try:
            for f in catalog.verify(cat_path, self.root, self.package_files()):
                self.fault("catalog: " + f)
        except catalog.CatalogError as e:
            self.fault("catalog: %s" % e)

    def model_sections(self, inf):
        """{arch: [(model name, install section)]} from [Manufacturer]."""
        models = {}
        for _, v in inf.get("manufacturer", []):
            if v is None:
                continue
            parts = [p.strip() for p in v.split(",")]
            for decoration in parts[1:]:
                arch = ARCHES.get(decoration)
                if arch:
                    for name, target in inf.get(("%s.%s" % (parts[0], decoration)).lower(), []):
                        if target is not None:
                            models.setdefault(arch, []).append((name.strip('"'), target.split(",")[0].strip()))
        return models

    def check_models(self, cfg, cfg_lines, inf, inf_name):
        models = self.model_sections(inf)
        for arch in ARCHES.values():
            if arch not in models:
                self.fault("INF %s declares no models for %s" % (inf_name, arch))
        for entry, _ in cfg_lines.get("support_driver", []):
            driver = value(cfg.get(entry.lower(), []), "DriverName")
            if not driver:
                self.fault("model %s has no DriverName" % entry)
                continue
            for arch, declared in models.items():
                if driver not in [name for name, _ in declared]:
                    self.fault("model %s: driver \"%s\" is not declared in %s for %s" % (entry, driver, inf_name, arch))

    def copied_files(self, inf):
        """Files the install sections of the models copy, with their data files."""
        files = set()
        sections = {target for declared in self.model_sections(inf).values() for _, target in declared}
        for name in sections:
            section = inf.get(name.lower(), [])
            for key, v in section:
                if v is None:
                    continue
                if key.lower() == "datafile":
                    files.add(v)
                if key.lower() == "copyfiles":
                    for item in v.split(","):
                        item = item.strip()
                        if item.startswith("@"):
                            files.add(item[1:])
                        else:
                            files.update(k for k, _ in inf.get(item.lower(), []))
        return files

    def check_files(self, inf):
        files = self.copied_files(inf)
        for decoration, arch in ARCHES.items():
            disks = inf.get(("SourceDisksNames." + decoration.replace("NT", "")).lower(), [])
            folder = ""
            for _, v in disks:
                fields = (v or "").split(",")
                folder = fields[3].strip().strip("\\") if len(fields) > 3 else ""
            for name in sorted(files):
                if not self.find(*[p for p in folder.split("\\") if p], name):
                    self.fault("%s: %s copied by the INF is missing from %s\\" % (arch, name, folder))
            gpd = next((f for f in files if f.lower().endswith(".gpd")), None)
            path = self.find(*[p for p in folder.split("\\") if p], gpd) if gpd else None
            if path:
                beside = os.listdir(os.path.dirname(path))
                for f in gpd_check.check_gpd(path, PLUGIN_FEATURES, beside):
                    self.fault("%s: %s" % (arch, f))
            ini = self.find(*[p for p in folder.split("\\") if p], "lx220.ini")
            if ini:
                for f in inf_check.check_plugin_ini(ini, files):
                    self.fault("%s: %s" % (arch, f))
            plugin = self.find(*[p for p in folder.split("\\") if p], "lx220ui.dll")
            if plugin:
                self.check_plugin_keywords(plugin, arch)
                self.check_driver_version(inf, plugin, arch)
            for code in PLUGIN_LANGUAGES:
                name = "lx220ui%s.chm" % code
                help_path = self.find(*[p for p in folder.split("\\") if p], name)
                if not help_path:
                    continue
                count = chm.context_count(help_path)
                if count is None:
                    self.fault("%s: %s is not a compiled help file" % (arch, name))
                elif count < len(HELP_CONTEXTS):
                    self.fault("%s: %s maps %d help contexts, the pages open %d" % (arch, name, count, len(HELP_CONTEXTS)))

    def check_driver_version(self, inf, plugin_path, arch):
        """DriverVer's version is the one the plug-in's VERSIONINFO carries."""
        data = open(plugin_path, "rb").read()
        at = data.find(b"\xbd\x04\xef\xfe")
        if at < 0:
            self.fault("%s: lx220ui.dll carries no VERSIONINFO" % arch)
            return
        ms, ls = struct.unpack_from("<II", data, at + 8)
        built = "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        driver_ver = value(inf.get("version", []), "DriverVer").split(",")
        if len(driver_ver) < 2 or driver_ver[1].strip() != built:
            self.fault("%s: DriverVer \"%s\" is not the version %s of lx220ui.dll" % (arch, ",".join(driver_ver), built))

    def check_plugin_keywords(self, plugin_path, arch):
        data = open(plugin_path, "rb").read()
        for feature, options in PLUGIN_FEATURES.items():
            for word in [feature] + [o for o in options if "%" not in o]:
                if b"\0" + word.encode() + b"\0" not in data:
                    self.fault("%s: lx220ui.dll no longer names %s; the check's keyword list is out of date" % (arch, word))

    def check_uninstall(self, cfg, inf):
        uninstall = cfg.get("uninstall", [])
        sections = [s.strip() for s in value(uninstall, "InfSection").split(",") if s.strip()]
        keys = set()
        for s in sections:
            if s.lower() not in inf:
                self.fault("[Uninstall] InfSection %s is not a section of the INF" % s)
            keys.update(k.strip('"') for k, _ in inf.get(s.lower(), []))
        raw = next((v for k, v in uninstall if v is not None and k.lower() == "drivername"), "")
        for name in quoted_names('"' + raw.strip('"') + '"') if raw else []:
            if name not in keys:
                self.fault("[Uninstall] DriverName \"%s\" is not a key of the INF sections %s" % (name, ",".join(sections)))
        # The copy goes to FilePath below the program-files folder; an
        # InstallLocation naming another folder is a configuration mistake.
        location = value(uninstall, "InstallLocation").strip().rstrip("\\")
        file_path = value(cfg.get("install", []), "FilePath").strip().rstrip("\\")
        if not file_path:
            self.fault("[Install] FilePath is empty: the installer would be copied into the program-files folder itself")
        elif location.lower() != file_path.lower() and not (
                (":" in location or location.startswith("\\\\"))
                and location.lower().endswith("\\" + file_path.lower())):
            self.fault("[Uninstall] InstallLocation \"%s\" is not [Install] FilePath \"%s\", the folder the installer is copied to" % (location, file_path))
        prefixes = [p.strip() for p in value(uninstall, "DriverPrefix").split(",") if p.strip()]
        for f in self.copied_files(inf):
            if prefixes and not any(f.lower().startswith(p.lower()) for p in prefixes):
                self.fault("[Uninstall] DriverPrefix does not cover %s, which removal would leave behind" % f)

    def check_languages(self, cfg_lines, inf):
        copied = {f.lower() for f in self.copied_files(inf)}
        for suffix, _ in cfg_lines.get("language", []):
            folder = LANGUAGE_FOLDERS.get(suffix)
            if not folder:
                self.fault("language %s is not one of the installer's languages" % suffix)
                continue
            # The installer hands the suffix to the plug-in, which loads this module.
            module = "lx220ui%s.dll" % suffix
            if module not in copied:
                self.fault("language %s: the INF does not copy %s, so the plug-in would have no texts" % (suffix, module))
            help_file = "lx220ui%s.chm" % suffix
            if help_file not in copied:
                self.fault("language %s: the INF does not copy %s, so the pages' help would not open" % (suffix, help_file))
            for doc in ("licence.rtf", "privacy.rtf"):
                if not self.find("Setup", folder, doc):
                    self.fault("language %s: Setup\\%s\\%s is missing" % (suffix, folder, doc))


def package_files(root):
    return Medium(root).package_files()


def main(argv):
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        print(__doc__.strip().splitlines()[-2])
        return 2
    medium = Medium(argv[1])
    medium.check()
    for f in medium.faults:
        print("fault: " + f)
    if medium.faults:
        return 1
    print("medium ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
