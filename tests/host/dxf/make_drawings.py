"""Writes the test drawings of the DXF file tests with ezdxf (R2000).

Usage: make_drawings.py OUTDIR

content.dxf   every kind of content a drawing from another program may hold,
              Cyrillic strings in code page 1251 and an entity type no library
              knows, written in as raw tags
cp1252.dxf    a drawing in code page 1252 with characters CP1251 lacks
"""
import math
import os
import sys

import ezdxf
from ezdxf.math import Vec3

CYRILLIC = "Привет, Мир: ёЁ №5"
UNKNOWN_ENTITY = [
    (0, "KESTRIN_WIDGET"), (5, "FFF0"), (330, "1F"), (100, "AcDbEntity"), (8, "0"),
    (100, "KestrinWidget"), (1, "a thing no library knows"), (90, "7"), (10, "1.5"), (20, "2.5"), (30, "0.0"),
    (1001, "KESTRIN"), (1000, "raw xdata"),
]


def add_content(doc):
    doc.encoding = "cp1251"
    msp = doc.modelspace()
    doc.appids.new("KESTRIN")
    doc.layers.add("Слой-1", color=3)
    doc.styles.add("ZOR", font="Zor.shx")

    msp.add_lwpolyline([(0, 0, 0.5), (10, 0), (10, 10), (0, 10)], format="xyb", close=True)
    msp.add_polyline2d([(0, 0), (5, 5), (10, 0)])
    msp.add_polyline3d([(0, 0, 0), (5, 5, 5), (10, 0, 10)])
    msp.add_spline([(0, 0), (3, 4), (7, 1), (10, 6)])
    msp.add_spline_control_frame([(0, 0), (2, 5), (6, 2), (9, 8), (12, 3)])

    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 0), (10, 0), (10, 10), (0, 10)], is_closed=True)
    pattern = msp.add_hatch()
    pattern.set_pattern_fill("ANSI31", scale=0.5)
    edge = pattern.paths.add_edge_path()
    edge.add_line((20, 0), (30, 0))
    edge.add_arc((30, 5), radius=5, start_angle=-90, end_angle=90)
    edge.add_line((30, 10), (20, 10))
    edge.add_line((20, 10), (20, 0))

    msp.add_linear_dim(base=(0, -5), p1=(0, 0), p2=(10, 0)).render()
    msp.add_radius_dim(center=(50, 50), radius=5, angle=45).render()

    block = doc.blocks.new("ТАБЛИЧКА")
    block.add_line((0, 0), (40, 0))
    block.add_attdef("NAME", (1, 1), dxfattribs={"height": 2.5})
    block.add_attdef("ДАТА", (1, 5), dxfattribs={"height": 2.5})
    ref = msp.add_blockref("ТАБЛИЧКА", (100, 100))
    ref.add_auto_attribs({"NAME": "Деталь %%c20", "ДАТА": "2024"})
    outer = doc.blocks.new("OUTER")
    outer.add_blockref("ТАБЛИЧКА", (0, 0))
    outer.add_circle((0, 0), 3)
    msp.add_blockref("OUTER", (200, 0))

    long_text = " ".join(f"Строка {i} текста %%d %%p" for i in range(60))
    msp.add_mtext(long_text, dxfattribs={"char_height": 2.5})
    msp.add_text(CYRILLIC + " %%c10 %%d %%p0.1 %%u%%o", dxfattribs={"height": 2.5, "style": "ZOR"})
    msp.add_text("\\U+2713 already escaped", dxfattribs={"height": 2.5})

    line = msp.add_line((0, 0), (100, 100))
    line.set_xdata("KESTRIN", [(1000, "метка"), (1040, 3.25), (1070, 7), (1010, (1, 2, 3))])
    circle = msp.add_circle((5, 5), 2.5)
    xdict = circle.new_extension_dict()
    xrec = xdict.add_xrecord("KESTRIN_DATA")
    xrec.reset([(1, "запись"), (40, 1.5), (90, 42)])

    layout = doc.layouts.new("Лист 2")
    layout.add_line((0, 0), (10, 10))
    msp.add_leader([(0, 0), (5, 5), (10, 5)])


def insert_raw_entity(path, tags):
    """Puts `tags` as one record at the end of the ENTITIES section."""
    with open(path, "rb") as f:
        text = f.read()
    raw = b"".join(f"{code:>3}\n{value}\n".encode("ascii") for code, value in tags)
    lines = text.split(b"\n")
    for i in range(len(lines) - 1):
        if lines[i].strip() == b"2" and lines[i + 1] == b"ENTITIES":
            j = i + 2
            while not (lines[j].strip() == b"0" and lines[j + 1] == b"ENDSEC"):
                j += 2
            lines[j:j] = raw.rstrip(b"\n").split(b"\n")
            break
    with open(path, "wb") as f:
        f.write(b"\n".join(lines))


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    doc = ezdxf.new("R2000", setup=True)
    add_content(doc)
    content = os.path.join(outdir, "content.dxf")
    doc.saveas(content)
    insert_raw_entity(content, UNKNOWN_ENTITY)

    doc = ezdxf.new("R2000")
    doc.header["$DWGCODEPAGE"] = "ANSI_1252"
    msp = doc.modelspace()
    msp.add_text("Café Ñandú straße €5 ±0,5 §2", dxfattribs={"height": 2.5})
    doc.saveas(os.path.join(outdir, "cp1252.dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
