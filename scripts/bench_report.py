#!/usr/bin/env python3
"""Prints the benchmark table of scripts/bench.sh and checks the budgets.

Every budget is a ratio of two figures taken in the same run: the machine's
speed and load cancel out. Host figures are CPU time per call (median of the
repetitions); Windows figures are medians of per-round ratios.
"""
import argparse
import json
import os
import sys

rows = []      # (section, measure, figure, reference, ratio, budget, verdict)
short = []     # budgets that fall short


def fmt_ns(ns):
    if ns is None:
        return "-"
    if ns >= 1e6:
        return "%.2f ms" % (ns / 1e6)
    if ns >= 1e3:
        return "%.2f us" % (ns / 1e3)
    return "%.1f ns" % ns


def row(section, measure, figure, reference, budget=None, ref_label="", ratio=None):
    if ratio is None and figure is not None and reference:
        ratio = figure / reference
    verdict = ""
    if budget is not None:
        if ratio is None:
            verdict = "NOT RUN"
            short.append("%s: %s (not measured)" % (section, measure))
        elif ratio <= budget:
            verdict = "met"
        else:
            verdict = "SHORT"
            short.append("%s: %s is %.2fx, budget %gx" % (section, measure, ratio, budget))
    rows.append((section, measure, fmt_ns(figure) if isinstance(figure, (int, float)) or figure is None else figure,
                 (ref_label + " " if ref_label else "") + (fmt_ns(reference) if reference is not None else "-"),
                 "-" if ratio is None else "%.2fx" % ratio,
                 "-" if budget is None else "<= %gx" % budget, verdict))


def host_rows(path):
    data = json.load(open(path))
    t = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b.get("run_name", b["name"]).replace("BM_", "")
        t[name] = b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
    mem = lambda n: t.get("Floor_Memcpy/%d" % n)
    sec = "host"
    for n in (11, 2049):
        floor = (mem(n * 124) or 0) + (t.get("Floor_SortRecords/%d" % n) or 0)
        row(sec, "store load and sort, %d papers" % n, t.get("StoreLoad/%d" % n), floor, ref_label="memcpy+sort")
        row(sec, "store sort, %d papers" % n, t.get("StoreSort/%d" % n), t.get("Floor_SortRecords/%d" % n),
            ref_label="std::sort")
    for name, what in (("FindByNumber", "lookup by number (first record)"),
                       ("FindByName", "lookup by name (last record)"),
                       ("FindByNameMissing", "lookup by name, absent"),
                       ("FindBySize", "lookup by size (last record)"),
                       ("IsPaperNameFree", "name-free check"),
                       ("MergeByNumber", "merge by number"),
                       ("MergeByFormName", "merge by form name"),
                       ("MergeUnknownPaper", "merge naming an unknown paper")):
        row(sec, what + ", 2049 vs 11 papers", t.get(name + "/2049"), t.get(name + "/11"), budget=10,
            ref_label="11:")
    row(sec, "DEVMODE private part conversion", t.get("ConvertPrivateDevmode"), mem(148), ref_label="memcpy")
    row(sec, "DEVMODE private part validation", t.get("ValidatePrivateDevmode"), mem(148), ref_label="memcpy")
    row(sec, "millimetres to tenths, one value", t.get("MmToTenths"), None)
    for code, entry, label in (("DcPapers", 2, "DC_PAPERS"), ("DcPaperSize", 8, "DC_PAPERSIZE"),
                               ("DcPaperNames", 128, "DC_PAPERNAMES")):
        for n in (11, 2049):
            row(sec, "%s own work, %d papers" % (label, n), t.get("%s/%d" % (code, n)), mem(n * entry),
                budget=10, ref_label="memcpy")
        for n in (11, 2049):
            traced, own = t.get("%sTraced/%d" % (code, n)), t.get("%s/%d" % (code, n))
            row(sec, "%s with its %d trace lines formatted" % (label, n), traced, own, ref_label="own:")
    for kind, what in (("Name", '"paper name = %s"'), ("Number", '"papersize id =%d "'),
                       ("Size", '"paper Width=%d, Height = %d"')):
        row(sec, "trace line %s formatted" % what, t.get("TraceLine_" + kind), t.get("Swprintf_" + kind),
            budget=3, ref_label="swprintf")


def win_rows(path, sec="wine64"):
    v = {}
    if path and os.path.exists(path):
        for line in open(path):
            parts = line.split()
            if len(parts) == 2:
                try:
                    v[parts[0]] = float(parts[1])
                except ValueError:
                    pass
    row(sec, "plug-in attach (load, class object, instance, release, unload)", v.get("attach_plugin"),
        v.get("attach_trivial"), budget=2, ref_label="trivial COM DLL", ratio=v.get("attach_ratio"))
    trivial = v.get("attach_trivial")
    # What attach leaves to the first answers, once per process.
    row(sec, "  first DevMode after attach (plan, paper context)", v.get("first_devmode"),
        v.get("first_trivial"), ref_label="trivial COM DLL", ratio=v.get("first_devmode_ratio"))
    row(sec, "  first printer sheet after attach (activation context, modules)", v.get("first_sheet"),
        v.get("first_trivial"), ref_label="trivial COM DLL", ratio=v.get("first_sheet_ratio"))
    if "attach_other" in v:
        row(sec, "  another build of the plug-in (--compare), same rounds", v["attach_other"], trivial,
            ref_label="trivial COM DLL", ratio=v.get("attach_other_ratio"))
    for key, what in (("attach_part_activation_context", "  at first use: the plug-in's activation context, made and released"),
                      ("attach_part_language_module", "  at first use: language module as an image resource, mapped and freed"),
                      ("attach_part_bitmap_module", "  at first use: bitmap module, loaded and freed"),
                      ("attach_part_load_comctl32_v6", "  at first use: comctl32 v6 in its context (with the context)")):
        if key in v:
            row(sec, what, v[key], trivial, ref_label="trivial COM DLL")
    for dll in ("shell32", "setupapi", "shlwapi"):
        key = "attach_part_load_%s.dll" % dll
        if key in v:
            row(sec, "  %s.dll alone, loaded and freed" % dll, v[key], trivial, ref_label="trivial COM DLL")
    if "attach_held_plugin" in v:
        row(sec, "plug-in attach, system DLLs it imports already loaded", v["attach_held_plugin"],
            v.get("attach_held_trivial"), ref_label="trivial COM DLL", ratio=v.get("attach_held_ratio"))
    if "attach_held_other" in v:
        row(sec, "  another build (--compare), same rounds", v["attach_held_other"],
            v.get("attach_held_trivial"), ref_label="trivial COM DLL", ratio=v.get("attach_held_other_ratio"))
    row(sec, "installer start to first visible page", v.get("startup_installer"), v.get("startup_trivial"),
        budget=1.5, ref_label="trivial wizard", ratio=v.get("startup_ratio"))
    for n in ("11", "2049"):
        if "caps_%s_count" % n not in v:
            continue
        for q, label in (("papers", "DC_PAPERS"), ("papersize", "DC_PAPERSIZE"), ("papernames", "DC_PAPERNAMES")):
            row(sec, "%s through lx220ui.dll, %d papers, trace lines sent" % (label, v["caps_%s_count" % n]),
                v.get("caps_%s_%s" % (n, q)), v.get("caps_%s_%s_floor" % (n, q)), ref_label="memcpy")


def size_rows(medium):
    if not medium or not os.path.isdir(medium):
        rows.append(("sizes", "medium not built", "-", "-", "-", "-", "NOT RUN"))
        return
    for folder, _, files in sorted(os.walk(medium)):
        for f in sorted(files):
            if not f.lower().endswith((".exe", ".dll")):
                continue
            path = os.path.join(folder, f)
            size = os.path.getsize(path)
            rel = os.path.relpath(path, medium)
            budget = 400 * 1024 if f.lower() == "lx220ui.dll" else None
            verdict = ""
            if budget:
                verdict = "met" if size <= budget else "SHORT"
                if size > budget:
                    short.append("sizes: %s is %d KB, budget 400 KB" % (rel, size // 1024))
            rows.append(("sizes", rel, "%d KB" % ((size + 1023) // 1024), "-", "-",
                         "<= 400 KB" if budget else "-", verdict))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--host")
    ap.add_argument("--win64")
    ap.add_argument("--win32")
    ap.add_argument("--wine32-why")
    ap.add_argument("--medium")
    a = ap.parse_args()
    if a.host:
        host_rows(a.host)
    if a.win64 is not None:
        win_rows(a.win64)
    if a.win32 is not None:
        win_rows(a.win32, "wine32")
    elif a.win64 is not None:
        why = a.wine32_why or "32-bit programs run here emulated, if at all"
        for what, budget in (("plug-in attach", 2), ("installer start to first visible page", 1.5)):
            rows.append(("wine32", what, "-", "-", "-", "<= %gx" % budget, "NOT RUN (%s)" % why))
            short.append("wine32: %s (not measured: %s)" % (what, why))
    size_rows(a.medium)
    head = ("where", "measure", "figure", "reference", "ratio", "budget", "")
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(len(head))]
    line = lambda r: " | ".join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip()
    print(line(head))
    print("-+-".join("-" * w for w in widths))
    for r in rows:
        print(line(r))
    print()
    if short:
        print("Budgets that fall short:")
        for s in short:
            print("  " + s)
        return 1
    print("Every budget measured is met.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
