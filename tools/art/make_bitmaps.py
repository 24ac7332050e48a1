#!/usr/bin/env python3
"""Draws the installer's page bitmaps as 24-bit BMP files.

Every picture is our own: simple label-printer illustrations and an abstract
word mark "LABEL" (no maker's name or logo). Output goes to
installer/pages/res/bitmaps/; the build only embeds the files, so re-run this
script by hand after changing a drawing and commit the results.
Needs ImageMagick 6 (convert) and the DejaVu fonts.
"""
import os
import subprocess
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT = os.path.join(ROOT, "installer", "pages", "res", "bitmaps")
FONT = "DejaVu-Sans-Bold"

# Palettes: accent, dark body, light body, background top, background bottom.
BLUE = ("#2f7fd0", "#2f3b4c", "#4a5a70", "#eaf2fb", "#b9d3ef")
TEAL = ("#1f9e8f", "#27403d", "#3f605b", "#e8f6f3", "#a9dcd4")
AMBER = ("#e08a1e", "#3a3631", "#5a534a", "#fbf3e6", "#efd3a8")
GREY = ("#5f6b7a", "#2b2f36", "#474d57", "#f3f4f6", "#cdd2d9")


def run(args):
    subprocess.run(["convert"] + args, check=True)


def save_bmp(src, name):
    """Flattens onto white and writes an uncompressed 24-bit BMP."""
    path = os.path.join(OUT, name)
    run([src, "-background", "white", "-alpha", "remove", "-alpha", "off",
         "-type", "TrueColor", "-depth", "8", "BMP3:" + path])
    print("wrote", path)


def printer_front(x, y, s, pal, label_lines=True):
    """MVG of a desktop label printer seen from the front, 200 x 170 units."""
    accent, dark, light = pal[0], pal[1], pal[2]
    d = [f"push graphic-context translate {x},{y} scale {s},{s}",
         f"fill {dark} roundrectangle 10,40 190,150 16,16",
         f"fill {light} roundrectangle 10,28 190,84 18,18",
         f"fill {light} rectangle 10,60 190,84",
         "fill #9fc3e6 roundrectangle 58,40 142,62 8,8",
         "fill #f4f4f4 circle 100,51 100,58",
         "fill #111820 rectangle 28,104 172,111",
         "fill #6ad46a circle 172,128 172,134",
         "fill #1b232e rectangle 24,150 46,156 rectangle 154,150 176,156"]
    if label_lines:
        d += ["fill white stroke #c9ced6 stroke-width 2 rectangle 46,108 154,170",
              f"stroke none fill {accent} rectangle 58,118 142,128",
              "fill #8a96a6 rectangle 58,136 126,141 rectangle 58,148 110,153"]
    d.append("pop graphic-context")
    return " ".join(d)


def label_roll(cx, cy, r, pal):
    accent = pal[0]
    return (f"fill #fdfdfd stroke #c9ced6 stroke-width 2 circle {cx},{cy} {cx + r},{cy} "
            f"stroke none fill {accent} circle {cx},{cy} {cx + r * 0.42},{cy} "
            f"fill #ffffff circle {cx},{cy} {cx + r * 0.25},{cy}")


def mark(x, y, size, pal):
    """Abstract mark: a rounded square holding a white tag with a punch hole."""
    accent = pal[0]
    s = size / 100.0
    return (f"push graphic-context translate {x},{y} scale {s},{s} "
            f"fill {accent} roundrectangle 0,0 100,100 22,22 "
            "fill white polygon 22,30 64,30 82,50 64,70 22,70 "
            f"fill {accent} circle 66,50 66,56 "
            "pop graphic-context")


def logo(name, w, h, pal):
    """Small page logo on white: mark at the left, the word LABEL beside it."""
    with tempfile.TemporaryDirectory() as tmp:
        m = int(min(h * 0.8, w * 0.3))
        pad = max(2, int(h * 0.1))
        text_w = w - m - 3 * pad
        text = os.path.join(tmp, "t.png")
        run(["-background", "none", "-fill", pal[1], "-font", FONT,
             "-size", f"{text_w}x{int(h * 0.7)}", "-gravity", "west", "label:LABEL", text])
        run(["-size", f"{w}x{h}", "xc:white", "-draw", mark(pad, (h - m) / 2, m, pal),
             text, "-gravity", "west", "-geometry", f"+{m + 2 * pad}+0", "-composite",
             os.path.join(tmp, "l.png")])
        save_bmp(os.path.join(tmp, "l.png"), name)


def side_picture(name, pal):
    """Tall welcome picture 210 x 390: word mark, printer, label roll."""
    w, h = 210, 390
    with tempfile.TemporaryDirectory() as tmp:
        base = os.path.join(tmp, "b.png")
        run(["-size", f"{w}x{h}", f"gradient:{pal[3]}-{pal[4]}", base])
        draw = " ".join([
            mark(24, 28, 40, pal),
            "fill #ffffff fill-opacity 0.55 circle 150,300 150,210",
            "fill-opacity 1",
            printer_front(15, 150, 0.9, pal),
            label_roll(160, 325, 34, pal),
            "fill white stroke #c9ced6 stroke-width 2 roundrectangle 24,318 104,358 6,6 "
            f"stroke none fill {pal[0]} rectangle 34,328 94,334 "
            "fill #8a96a6 rectangle 34,342 76,346",
        ])
        out = os.path.join(tmp, "s.png")
        run([base, "-draw", draw, "-fill", pal[1], "-font", FONT, "-pointsize", "26",
             "-annotate", "+74+58", "LABEL", "-fill", pal[2], "-font", "DejaVu-Sans",
             "-pointsize", "13", "-annotate", "+76+78", "printer driver", out])
        save_bmp(out, name)


def welcome_banner(name, pal):
    """Wide picture of the welcome page without logo, 500 x 250."""
    w, h = 500, 250
    with tempfile.TemporaryDirectory() as tmp:
        base = os.path.join(tmp, "b.png")
        run(["-size", f"{w}x{h}", f"gradient:{pal[3]}-{pal[4]}", base])
        tags = []
        for i, (tx, ty) in enumerate(((300, 60), (330, 110), (360, 160))):
            tags.append(f"fill white stroke #c9ced6 stroke-width 2 roundrectangle {tx},{ty} {tx + 110},{ty + 56} 8,8 "
                        f"stroke none fill {pal[0]} rectangle {tx + 12},{ty + 12} {tx + 80},{ty + 22} "
                        f"fill #8a96a6 rectangle {tx + 12},{ty + 32} {tx + 60},{ty + 38}")
        draw = " ".join([printer_front(40, 20, 1.15, pal)] + tags + [label_roll(445, 60, 34, pal)])
        out = os.path.join(tmp, "w.png")
        run([base, "-draw", draw, out])
        save_bmp(out, name)


def printer_side(pal):
    """MVG of the printer seen from its side, media leaving to the right."""
    dark, light = pal[1], pal[2]
    return " ".join([
        f"fill {dark} roundrectangle 24,92 170,190 14,14",
        f"fill {light} roundrectangle 24,66 170,122 22,22",
        f"fill {light} rectangle 24,100 170,122",
        "stroke #1b232e stroke-width 2 line 30,122 164,122 stroke none",
        # Label roll behind a window in the lid.
        "fill #9fc3e6 roundrectangle 50,100 122,170 10,10",
        "fill #fdfdfd circle 86,135 86,163",
        "fill #d8dde3 circle 86,135 86,146",
        "fill #ffffff circle 86,135 86,140",
        "stroke none fill #1b232e rectangle 36,190 58,197 rectangle 136,190 158,197",
    ])


def strip(x0, x1, y, accent):
    """Label liner with two labels on it, leaving the printer at height y."""
    return (f"fill white stroke #aab2bd stroke-width 2 rectangle {x0},{y - 5} {x1},{y + 5} "
            f"stroke none fill {accent} rectangle {x0 + 6},{y - 3} {x0 + 22},{y + 3} "
            f"rectangle {x0 + 28},{y - 3} {x0 + 44},{y + 3}")


def accessory(name, kind, pal):
    """Accessories page picture, 243 x 242: none, peeler or cutter fitted."""
    w, h = 243, 242
    accent = pal[0]
    parts = [printer_side(pal)]
    if kind == "none":
        # Tear-off: the strip runs straight out over the serrated tear bar.
        parts.append(strip(170, 226, 160, accent))
        parts.append("fill #1b232e polygon 168,150 176,150 176,170 168,170 "
                     "fill #e9edf2 polygon 176,152 180,155 176,158 180,161 176,164 180,167 176,170")
    elif kind == "peeler":
        # Peeler: the liner turns down at the unit's edge, the label stays flat.
        parts.append(f"fill {accent} roundrectangle 166,126 198,196 6,6 "
                     "fill #e9edf2 rectangle 172,156 198,160 "
                     "stroke #6b7684 stroke-width 3 line 198,162 204,206 "
                     "stroke none fill white stroke #aab2bd stroke-width 2 roundrectangle 196,146 236,158 3,3 "
                     f"stroke none fill {accent} rectangle 204,149 226,155")
    elif kind == "cutter":
        # Cutter: a unit with a blade; the strip is cut and a label has dropped.
        parts.append(f"fill {accent} roundrectangle 166,126 200,196 6,6 "
                     "stroke #e9edf2 stroke-width 3 fill none circle 176,178 176,183 circle 190,178 190,183 "
                     "line 178,174 192,140 line 188,174 174,140 stroke none "
                     + strip(200, 220, 176, accent).replace(f"rectangle 228,173 244,179", "") +
                     " push graphic-context translate 214,214 rotate 24 "
                     "fill white stroke #aab2bd stroke-width 2 rectangle -20,-6 20,6 "
                     f"stroke none fill {accent} rectangle -12,-3 6,3 "
                     "pop graphic-context")
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "a.png")
        run(["-size", f"{w}x{h}", "xc:white", "-draw",
             "fill #eef1f5 ellipse 121,204 104,14 0,360 " + " ".join(parts), out])
        save_bmp(out, name)


def main():
    os.makedirs(OUT, exist_ok=True)
    logo("logo133.bmp", 120, 40, BLUE)
    logo("logo166.bmp", 120, 64, TEAL)
    logo("logo167.bmp", 120, 54, AMBER)
    logo("logo170.bmp", 210, 24, BLUE)
    logo("logo179.bmp", 120, 64, GREY)
    logo("logo180.bmp", 120, 45, TEAL)
    side_picture("side134.bmp", BLUE)
    side_picture("side171.bmp", AMBER)
    side_picture("side178.bmp", GREY)
    welcome_banner("welcome181.bmp", BLUE)
    accessory("accessory192.bmp", "none", BLUE)
    accessory("accessory193.bmp", "peeler", BLUE)
    accessory("accessory194.bmp", "cutter", BLUE)


if __name__ == "__main__":
    main()
