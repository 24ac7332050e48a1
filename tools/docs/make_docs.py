#!/usr/bin/python3
"""Writes the sample licence and privacy documents of the installation medium.

For every UI language folder: medium/Setup/<Folder>/licence.rtf, privacy.rtf
(shown in the welcome page's rich edit views) and licence.pdf, privacy.pdf
(opened with the shell by the welcome page variant without views). The texts
are samples that whoever packages the driver replaces.

Run by hand after changing a text and commit the results; the build only
installs the files. Needs python3-reportlab (Debian) and the fonts
fonts-dejavu-core, fonts-wqy-microhei and fonts-thai-tlwg-ttf.
"""
import os
import sys

from reportlab import rl_config

rl_config.invariant = 1  # no time stamps or random ids: identical files on every run

from reportlab.lib.enums import TA_LEFT
from reportlab.lib.pagesizes import A4
from reportlab.lib.styles import ParagraphStyle
from reportlab.lib.units import mm
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.platypus import Paragraph, SimpleDocTemplate, Spacer
from xml.sax.saxutils import escape

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import doc_texts_a  # noqa: E402
import doc_texts_b  # noqa: E402
import doc_texts_c  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SETUP = os.path.join(ROOT, "medium", "Setup")

TEXTS = {}
for module in (doc_texts_a, doc_texts_b, doc_texts_c):
    TEXTS.update(module.TEXTS)

# Folder: (LANGID, ANSI code page, RTF font charset, Windows font, PDF font, CJK wrapping)
LANGUAGES = {
    "English": (1033, 1252, 0, "Segoe UI", "DejaVu", False),
    "Simplified_Chinese": (2052, 936, 134, "Microsoft YaHei", "WQY", True),
    "Russian": (1049, 1251, 204, "Segoe UI", "DejaVu", False),
    "Japanese": (1041, 932, 128, "Meiryo", "WQY", True),
    "Traditional_Chinese": (1028, 950, 136, "Microsoft JhengHei", "WQY", True),
    "Italian": (1040, 1252, 0, "Segoe UI", "DejaVu", False),
    "Spanish": (2058, 1252, 0, "Segoe UI", "DejaVu", False),
    "Turkish": (1055, 1254, 162, "Segoe UI", "DejaVu", False),
    "Polish": (1045, 1250, 238, "Segoe UI", "DejaVu", False),
    "Thailand": (1054, 874, 222, "Tahoma", "Garuda", False),
    "Portugal": (1046, 1252, 0, "Segoe UI", "DejaVu", False),
    "German": (1031, 1252, 0, "Segoe UI", "DejaVu", False),
    "French": (1036, 1252, 0, "Segoe UI", "DejaVu", False),
    "Dutch": (1043, 1252, 0, "Segoe UI", "DejaVu", False),
}

FONT_FILES = {
    "DejaVu": ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
               "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"),
    "WQY": ("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
            "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"),
    "Garuda": ("/usr/share/fonts/truetype/tlwg/Garuda.ttf",
               "/usr/share/fonts/truetype/tlwg/Garuda-Bold.ttf"),
}


# ---- RTF ------------------------------------------------------------------

def rtf_text(s):
    """RTF-escapes s; every non-ASCII character becomes \\uN? (N signed 16-bit)."""
    out = []
    for ch in s:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif 32 <= code < 128:
            out.append(ch)
        elif code > 0xFFFF:
            raise ValueError("character outside the BMP: %r" % ch)
        else:
            out.append("\\u%d?" % (code - 0x10000 if code > 0x7FFF else code))
    return "".join(out)


def write_rtf(path, doc, lang):
    langid, codepage, charset, face, _, _ = lang
    lines = [
        "{\\rtf1\\ansi\\ansicpg%d\\deff0\\deflang%d" % (codepage, langid),
        "{\\fonttbl{\\f0\\fnil\\fcharset%d %s;}}" % (charset, face),
        "{\\colortbl ;\\red176\\green32\\blue32;}",
        "\\viewkind4\\uc1\\pard\\lang%d\\f0\\sa120" % langid,
        "\\fs26\\b %s\\b0\\par" % rtf_text(doc["title"]),
        "\\fs18\\cf1\\i %s\\i0\\cf0\\par" % rtf_text(doc["note"]),
    ]
    for heading, body in doc["sections"]:
        lines.append("\\b %s\\b0  %s\\par" % (rtf_text(heading), rtf_text(body)))
    lines.append("%s\\par" % rtf_text(doc["closing"]))
    lines.append("}")
    with open(path, "w", encoding="ascii", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


# ---- PDF ------------------------------------------------------------------

def register_fonts():
    for name, (regular, bold) in FONT_FILES.items():
        if regular.endswith(".ttc"):
            pdfmetrics.registerFont(TTFont(name, regular, subfontIndex=0))
            pdfmetrics.registerFont(TTFont(name + "-Bold", bold, subfontIndex=0))
        else:
            pdfmetrics.registerFont(TTFont(name, regular))
            pdfmetrics.registerFont(TTFont(name + "-Bold", bold))


def check_coverage(font_name, text):
    """Fails when the PDF font lacks a glyph: a gap in a sample is still a fault."""
    face = pdfmetrics.getFont(font_name).face
    missing = sorted({ch for ch in text if ch.strip() and ord(ch) not in face.charToGlyph})
    if missing:
        raise SystemExit("font %s lacks %s" % (font_name, "".join(missing)))


def check_wrappable(font_name, size, text, width):
    """Without CJK wrapping a run between spaces must fit on one line."""
    for word in text.split():
        if pdfmetrics.stringWidth(word, font_name, size) > width:
            raise SystemExit("unbreakable run wider than the page: %s" % word)


def write_pdf(path, doc, lang):
    langid, _, _, _, font, cjk = lang
    frame_width = A4[0] - 50 * mm
    wrap = "CJK" if cjk else None
    title = ParagraphStyle("title", fontName=font + "-Bold", fontSize=15, leading=20,
                           spaceAfter=8, alignment=TA_LEFT, wordWrap=wrap)
    note = ParagraphStyle("note", fontName=font, fontSize=9.5, leading=14, spaceAfter=10,
                          textColor="#b02020", wordWrap=wrap)
    body = ParagraphStyle("body", fontName=font, fontSize=10.5, leading=15, spaceAfter=7, wordWrap=wrap)
    bold = font + "-Bold"
    all_text = " ".join([doc["title"], doc["note"], doc["closing"]] +
                        [h + " " + b for h, b in doc["sections"]])
    check_coverage(font, all_text)
    check_coverage(bold, all_text)
    if not cjk:
        check_wrappable(font, 10.5, all_text, frame_width)
    story = [Paragraph(escape(doc["title"]), title), Paragraph(escape(doc["note"]), note)]
    for heading, text in doc["sections"]:
        story.append(Paragraph('<font name="%s">%s</font> %s' % (bold, escape(heading), escape(text)), body))
    story += [Spacer(1, 4 * mm), Paragraph(escape(doc["closing"]), body)]
    pdf = SimpleDocTemplate(path, pagesize=A4, leftMargin=25 * mm, rightMargin=25 * mm,
                            topMargin=25 * mm, bottomMargin=25 * mm, title=doc["title"],
                            author="Label Printer Driver (sample)", subject="Sample document",
                            creator="tools/docs/make_docs.py")
    pdf.build(story)


def main():
    register_fonts()
    missing = set(LANGUAGES) ^ set(TEXTS)
    if missing:
        raise SystemExit("language folders without texts or texts without folder: %s" % sorted(missing))
    for folder, lang in LANGUAGES.items():
        out = os.path.join(SETUP, folder)
        os.makedirs(out, exist_ok=True)
        for kind in ("licence", "privacy"):
            doc = TEXTS[folder][kind]
            write_rtf(os.path.join(out, kind + ".rtf"), doc, lang)
            write_pdf(os.path.join(out, kind + ".pdf"), doc, lang)
        print("wrote", out)


if __name__ == "__main__":
    main()
