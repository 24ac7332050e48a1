#!/usr/bin/python3
"""Draws the pictures of the plug-in's bitmap module (lx220uibmp.dll).

Run by hand when a picture changes; the BMP files it writes are committed and the
build only embeds them:

    /usr/bin/python3 tools/art/plugin/make_plugin_bitmaps.py [output folder]

Default output folder: plugin/resources/bitmaps next to this repository's root.
Needs Pillow (Debian: python3-pil) and the DejaVu fonts.

Pictures and their pixel sizes (about the size of the dialog controls that show
them at 96 dpi with "MS Shell Dlg" 8):
  124..139  label preview, 145 x 174, 8-bit grey   (static 97 x 107 DLU)
  140, 142, 143, 144, 148, 149  logos, 360 x 98, 8-bit palette   (static 240 x 60 DLU)
  145..147  halftone samples, 225 x 179, 8-bit, black and white only
            (static 150 x 110 DLU; the plug-in loads them as monochrome)

The 16 previews are made from four drawn pictures (portrait or landscape content,
positive or negative) by turning the whole picture by 180 degrees and mirroring
it left to right; the frame around the label is symmetric, so the result is the
same as turning and mirroring the printed content alone. The resource test relies
on that relation to catch previews filed under the wrong id.
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont, ImageOps

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
REGULAR = os.path.join(FONT_DIR, "DejaVuSans.ttf")

PREVIEW_SIZE = (145, 174)
LABEL_BOX = (14, 12, 14 + 117, 12 + 150)  # left, top, right (excl.), bottom (excl.), centred
LOGO_SIZE = (360, 98)
HALFTONE_SIZE = (225, 179)

BACKGROUND = (232, 232, 232)
EDGE = (96, 96, 96)
INK = (0, 0, 0)
PAPER = (255, 255, 255)


def font(path, size):
    return ImageFont.truetype(path, size)


# ---------------------------------------------------------------- previews

def draw_barcode(d, x0, y0, x1, y1):
    """A barcode-like strip: bars of one to three units, fixed pattern."""
    pattern = [2, 1, 1, 2, 3, 1, 1, 1, 2, 2, 1, 3, 1, 1, 2, 1, 3, 2, 1, 1, 2, 1, 1, 3, 2, 1]
    unit = max(1, (x1 - x0) // sum(pattern))
    x = x0
    dark = True
    for w in pattern:
        if x + w * unit > x1:
            break
        if dark:
            d.rectangle([x, y0, x + w * unit - 1, y1 - 1], fill=INK)
        x += w * unit
        dark = not dark


def label_content(width, height):
    """What is printed on the label, laid out for a page of width x height."""
    img = Image.new("RGB", (width, height), PAPER)
    d = ImageDraw.Draw(img)
    pad = 6
    bar_h = max(10, height // 6)
    lines_h = 12
    glyph_h = height - 2 * pad - bar_h - lines_h - 10
    # Big letter in the top-left corner: "R" shows both turning and mirroring.
    size = glyph_h * 2
    while size > 8:
        glyph = font(BOLD, size)
        x0, y0, x1, y1 = d.textbbox((0, 0), "R", font=glyph)
        if y1 - y0 <= glyph_h and x1 - x0 <= width * 0.55:
            break
        size -= 1
    d.text((pad - x0, pad - y0), "R", font=glyph, fill=INK)
    # Arrow in the top-right corner pointing to the page's top edge.
    aw = min(width, height) // 5
    ax = width - pad - aw
    d.polygon([(ax + aw // 2, pad), (ax + aw, pad + aw), (ax, pad + aw)], fill=INK)
    d.rectangle([ax + aw // 2 - aw // 6, pad + aw, ax + aw // 2 + aw // 6, pad + glyph_h], fill=INK)
    # Two lines of "text" under the letter.
    ty = pad + glyph_h + 5
    d.rectangle([pad, ty, width - pad - 1, ty + 3], fill=INK)
    d.rectangle([pad, ty + 8, int(width * 0.6), ty + 11], fill=INK)
    # Barcode along the bottom edge.
    draw_barcode(d, pad, height - pad - bar_h, width - pad, height - pad)
    return img


def preview(landscape, negative):
    img = Image.new("RGB", PREVIEW_SIZE, BACKGROUND)
    d = ImageDraw.Draw(img)
    l, t, r, b = LABEL_BOX
    d.rectangle([l, t, r - 1, b - 1], fill=EDGE)
    inner = (l + 1, t + 1, r - 1, b - 1)
    iw, ih = inner[2] - inner[0], inner[3] - inner[1]
    if landscape:
        # Landscape pages are turned 90 degrees counter-clockwise onto the label.
        content = label_content(ih, iw).rotate(90, expand=True)
    else:
        content = label_content(iw, ih)
    if negative:
        content = ImageOps.invert(content)
    img.paste(content, inner[:2])
    return img


def preview_id(rot180, landscape, mirror, negative):
    return 124 + 8 * rot180 + 4 * landscape + 2 * mirror + negative


def previews():
    out = {}
    for landscape in (0, 1):
        for negative in (0, 1):
            base = preview(landscape, negative)
            for rot180 in (0, 1):
                for mirror in (0, 1):
                    img = base
                    if rot180:
                        img = img.transpose(Image.Transpose.ROTATE_180)
                    if mirror:
                        img = img.transpose(Image.Transpose.FLIP_LEFT_RIGHT)
                    out[preview_id(rot180, landscape, mirror, negative)] = img
    return out


# ---------------------------------------------------------------- logos

def icon_tag(d, box, colour):
    x0, y0, x1, y1 = box
    mid = (y0 + y1) // 2
    d.polygon([(x0 + 18, y0), (x1, y0), (x1, y1), (x0 + 18, y1), (x0, mid)], fill=colour)
    d.ellipse([x0 + 14, mid - 5, x0 + 24, mid + 5], fill=(255, 255, 255))


def icon_bars(d, box, colour):
    x0, y0, x1, y1 = box
    h = (y1 - y0) // 5
    for i, shrink in enumerate((0, 12, 24)):
        top = y0 + i * 2 * h
        d.rounded_rectangle([x0 + shrink, top, x1, top + h], radius=h // 2, fill=colour)


def icon_barcode(d, box, colour):
    x0, y0, x1, y1 = box
    x = x0
    for i, w in enumerate([4, 2, 2, 6, 2, 4, 2, 2, 6, 4, 2]):
        if i % 2 == 0:
            d.rectangle([x, y0, x + w - 1, y1], fill=colour)
        x += w + 2


def icon_waves(d, box, colour):
    x0, y0, x1, y1 = box
    for i in range(3):
        top = y0 + i * (y1 - y0) // 3
        d.arc([x0, top, x1, top + (y1 - y0) // 2], start=200, end=340, fill=colour, width=6)


def icon_rings(d, box, colour):
    x0, y0, x1, y1 = box
    for i in range(3):
        k = i * 9
        d.ellipse([x0 + k, y0 + k, x1 - k, y1 - k], outline=colour, width=5)


def icon_hexagon(d, box, colour):
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    pts = [(x0 + w // 4, y0), (x1 - w // 4, y0), (x1, y0 + h // 2),
           (x1 - w // 4, y1), (x0 + w // 4, y1), (x0, y0 + h // 2)]
    d.polygon(pts, fill=colour)
    d.polygon([(x0 + w // 2, y0 + 14), (x1 - 14, y0 + h // 2), (x0 + w // 2, y1 - 14),
               (x0 + 14, y0 + h // 2)], fill=(255, 255, 255))


LOGOS = {
    140: ("LABEL", "label printing", (28, 52, 110), icon_tag),
    142: ("PRINT", "print solutions", (0, 118, 124), icon_bars),
    143: ("BARCODE", "codes and labels", (34, 110, 52), icon_barcode),
    144: ("THERMAL", "thermal printing", (196, 70, 20), icon_waves),
    148: ("MARK", "marking systems", (104, 44, 130), icon_rings),
    149: ("TAG", "tags and tickets", (60, 80, 100), icon_hexagon),
}


def logo(word, tagline, colour, icon):
    img = Image.new("RGB", LOGO_SIZE, (255, 255, 255))
    d = ImageDraw.Draw(img)
    icon(d, (16, 17, 80, 81), colour)
    size = 54
    big = font(BOLD, size)
    while d.textlength(word, font=big) > LOGO_SIZE[0] - 110 and size > 20:
        size -= 2
        big = font(BOLD, size)
    d.text((98, 12), word, font=big, fill=colour)
    d.text((100, 70), tagline, font=font(REGULAR, 16), fill=(90, 90, 90))
    return img


# ---------------------------------------------------------------- halftones

def gradient_picture(w, h):
    """Grey levels 0..1 (1 = white): a lit sphere over a left-to-right ramp."""
    cx, cy, rad = w * 0.58, h * 0.46, min(w, h) * 0.36
    lx, ly = cx - rad * 0.4, cy - rad * 0.45
    pix = [[0.0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            v = 0.15 + 0.8 * x / (w - 1)
            dx, dy = x - cx, y - cy
            if dx * dx + dy * dy <= rad * rad:
                dist = ((x - lx) ** 2 + (y - ly) ** 2) ** 0.5 / (rad * 1.45)
                v = max(0.0, min(1.0, 1.0 - dist))
            if y >= h - 18:  # grey ramp along the bottom
                v = x / (w - 1)
            pix[y][x] = v
    return pix


def to_image(bits, w, h):
    img = Image.new("L", (w, h))
    img.putdata([255 if bits[y][x] else 0 for y in range(h) for x in range(w)])
    return img


def threshold(pix, w, h):
    return to_image([[v >= 0.5 for v in row] for row in pix], w, h)


def diffuse(pix, w, h, kernel, divisor):
    """Error diffusion, left to right on every row; kernel = (dx, dy, weight)."""
    work = [row[:] for row in pix]
    bits = [[False] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            old = work[y][x]
            on = old >= 0.5
            bits[y][x] = on
            err = old - (1.0 if on else 0.0)
            for dx, dy, wt in kernel:
                nx, ny = x + dx, y + dy
                if 0 <= nx < w and ny < h:
                    work[ny][nx] += err * wt / divisor
    return to_image(bits, w, h)


FLOYD_STEINBERG = [(1, 0, 7), (-1, 1, 3), (0, 1, 5), (1, 1, 1)]
JARVIS_JUDICE_NINKE = [(1, 0, 7), (2, 0, 5),
                       (-2, 1, 3), (-1, 1, 5), (0, 1, 7), (1, 1, 5), (2, 1, 3),
                       (-2, 2, 1), (-1, 2, 3), (0, 2, 5), (1, 2, 3), (2, 2, 1)]


def halftones():
    w, h = HALFTONE_SIZE
    pix = gradient_picture(w, h)
    return {
        145: threshold(pix, w, h),
        146: diffuse(pix, w, h, FLOYD_STEINBERG, 16),
        147: diffuse(pix, w, h, JARVIS_JUDICE_NINKE, 48),
    }


# ---------------------------------------------------------------- main

def eight_bit(img):
    """8-bit BMP: grey pictures keep every level, colour ones get their own palette."""
    if img.mode == "L":
        return img
    r, g, b = img.split()
    if r.tobytes() == g.tobytes() == b.tobytes():
        return r
    return img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "..", "plugin", "resources", "bitmaps")
    out_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else default)
    os.makedirs(out_dir, exist_ok=True)
    pictures = {}
    pictures.update({i: ("preview", img) for i, img in previews().items()})
    pictures.update({i: ("logo", logo(*parts)) for i, parts in LOGOS.items()})
    pictures.update({i: ("halftone", img) for i, img in halftones().items()})
    for ident, (kind, img) in sorted(pictures.items()):
        img = eight_bit(img)
        path = os.path.join(out_dir, "%s_%d.bmp" % (kind, ident))
        img.save(path, format="BMP")
        print("%s %dx%d %s" % (os.path.relpath(path), img.width, img.height, img.mode))


if __name__ == "__main__":
    main()
