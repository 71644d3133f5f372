#!/usr/bin/python3
"""Reads a drawing with ezdxf, audits it, lists its texts and, when texts are
given, checks them in order.

Usage: show_drawing.py [--fonts DIR] FILE [TEXT...]
Each TEXT is a string followed by ";key=value" pairs: height, x, y,
rotation and oblique (degrees), style and font (the style's font file).
With --fonts, texts whose style's shape font is in DIR are drawn with it
(ezdxf's SHX reader): every character number must have a shape there.
Exits non-zero when the drawing does not read, the audit finds errors, or a
text differs or cannot be drawn."""
import math
import os
import re
import sys

from ezdxf import shapefile

import ezdxf
from ezdxf import recover


def main():
    args = sys.argv[1:]
    font_dir = None
    if args[:1] == ["--fonts"] and len(args) >= 2:
        font_dir, args = args[1], args[2:]
    if not args:
        sys.exit("usage: show_drawing.py [--fonts DIR] FILE [TEXT...]")
    path, wanted = args[0], args[1:]
    doc, auditor = recover.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        sys.exit(f"{path}: ezdxf audit found {len(auditor.errors)} errors")
    texts = [e for e in doc.modelspace() if e.dxftype() == "TEXT"]
    print(f"{path}: {len(texts)} texts, ezdxf audit clean")
    for t in texts:
        print(f"  {t.dxf.text!r} at ({t.dxf.insert.x:g}, {t.dxf.insert.y:g}) "
              f"height {t.dxf.height:g} style {t.dxf.style} oblique {t.dxf.get('oblique', 0):g}")
    if font_dir:
        draw_with_fonts(doc, texts, font_dir)
    if not wanted:
        return
    if len(texts) != len(wanted):
        sys.exit(f"{path}: {len(texts)} texts, expected {len(wanted)}")
    for entity, description in zip(texts, wanted):
        string, *pairs = description.split(";")
        if entity.dxf.text != string:
            sys.exit(f"text {entity.dxf.text!r}, expected {string!r}")
        font = doc.styles.get(entity.dxf.style).dxf.font if entity.dxf.style in doc.styles else ""
        names = {"style": entity.dxf.style, "font": font}
        for pair in pairs:
            key, _, value = pair.partition("=")
            if key in names and names[key] != value:
                sys.exit(f"text {string!r}: {key} {names[key]!r}, expected {value!r}")
        pairs = [p for p in pairs if p.partition("=")[0] not in names]
        values = {"height": entity.dxf.height, "x": entity.dxf.insert.x, "y": entity.dxf.insert.y,
                  "rotation": entity.dxf.get("rotation", 0.0), "oblique": entity.dxf.get("oblique", 0.0)}
        for pair in pairs:
            key, _, value = pair.partition("=")
            if not math.isclose(values[key], float(value), abs_tol=1e-9):
                sys.exit(f"text {string!r}: {key} {values[key]}, expected {value}")


def character_numbers(string):
    """The character numbers a shape font draws for a text string: "%%nnn"
    is that number; the host's letter codes (%%c, %%o, ...) are left out."""
    numbers = []
    for number, letter, plain in re.findall(r"%%(\d{1,3})|%%([a-zA-Z%])|(.)", string):
        if number:
            numbers.append(int(number))
        elif plain:
            numbers.append(plain.encode("cp1251")[0])
    return numbers


def draw_with_fonts(doc, texts, font_dir):
    files = {name.lower(): os.path.join(font_dir, name) for name in os.listdir(font_dir)}
    for t in texts:
        style = doc.styles.get(t.dxf.style) if t.dxf.style in doc.styles else None
        font_file = files.get(style.dxf.font.lower()) if style else None
        if not font_file or not font_file.lower().endswith(".shx"):
            continue
        font = shapefile.shx_load(open(font_file, "rb").read())
        numbers = character_numbers(t.dxf.text)
        missing = [n for n in numbers if n not in font.shapes]
        if missing:
            sys.exit(f"text {t.dxf.text!r}: {os.path.basename(font_file)} has no shapes {missing}")
        drawn = font.render_shapes(numbers)
        strokes = sum(len(sub) for sub in drawn.sub_paths()) if len(drawn) else 0
        if strokes == 0:
            sys.exit(f"text {t.dxf.text!r}: draws nothing with {os.path.basename(font_file)}")
        print(f"  {t.dxf.text!r} drawn with {os.path.basename(font_file)}: {strokes} strokes")


if __name__ == "__main__":
    main()
