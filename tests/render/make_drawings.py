"""Writes the drawings of the renderer's tests with ezdxf (R2000).

Usage: make_drawings.py OUTDIR

dimension.dxf  a linear, a radius and an angular dimension with their blocks
hatch.dxf      a solid hatch with an island and a bulged edge, a pattern
               hatch over an edge path (lines, a clockwise arc, an elliptical
               arc, a spline) with a round island, a dashed pattern; and the
               boundaries as ezdxf reads them, in grey polylines beside
truetype.dxf   text styles on TrueType fonts: by file name, by family only
               (extended data), a font the system lacks, a text with
               characters code page 1251 lacks
"""
import math
import os
import sys

import ezdxf
from ezdxf import path


def dimension(path):
    doc = ezdxf.new("R2000", setup=True)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (60, 0), (60, 30), (0, 30)], close=True)
    # Millimetres: texts and filled arrows 3 high, lengths as drawn.
    sizes = {"dimtxt": 3, "dimasz": 3, "dimlfac": 1, "dimblk": "", "dimexe": 1.5, "dimexo": 1, "dimgap": 1}
    msp.add_linear_dim(base=(0, -10), p1=(0, 0), p2=(60, 0), dimstyle="EZDXF", override=sizes).render()
    msp.add_linear_dim(base=(72, 0), p1=(60, 0), p2=(60, 30), angle=90, dimstyle="EZDXF",
                       override=dict(sizes, dimclrd=1, dimclrt=5)).render()
    msp.add_circle((30, 15), 10)
    msp.add_radius_dim(center=(30, 15), radius=10, angle=45, dimstyle="EZ_RADIUS", override=sizes).render()
    doc.saveas(path)


def hatch(filename):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    solid = msp.add_hatch(color=5)
    solid.paths.add_polyline_path([(0, 0, 0), (40, 0, 0), (40, 30, 0.4), (0, 30, 0)], is_closed=True)
    solid.paths.add_polyline_path([(10, 10), (30, 10), (30, 20), (10, 20)], is_closed=True)
    pattern = msp.add_hatch(color=1)
    pattern.set_pattern_fill("ANSI31", color=1, scale=0.8)
    edge = pattern.paths.add_edge_path()
    edge.add_line((60, 0), (90, 0))
    edge.add_arc((90, 10), radius=10, start_angle=270, end_angle=90, ccw=False)
    edge.add_line((90, 20), (80, 20))
    edge.add_ellipse((70, 20), major_axis=(10, 0), ratio=0.5, start_angle=0, end_angle=180)
    edge.add_spline(fit_points=[(60, 20), (55, 12), (58, 5), (60, 0)])
    island = pattern.paths.add_edge_path()
    island.add_arc((72, 10), radius=4, start_angle=0, end_angle=360)
    dashed = msp.add_hatch(color=3)
    dashed.set_pattern_fill("DASH", color=3, scale=2, angle=30)
    dashed.paths.add_polyline_path([(110, 0), (140, 0), (125, 30)], is_closed=True)
    for h in (pattern, dashed):
        for boundary in path.from_hatch(h):
            msp.add_lwpolyline([(v.x, v.y) for v in boundary.flattening(0.01)], dxfattribs={"color": 8})
    doc.saveas(filename)


def truetype(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    doc.styles.add("BYFILE", font="dejavusans.TTF")
    family = doc.styles.add("BYFAMILY", font="")
    # Bold: bit 25 of the flags (ezdxf 0.18 takes bit 24 for it, which files use for italic).
    family.set_xdata("ACAD", [(1000, "DejaVu Serif"), (1071, 34 | 1 << 25)])
    gone = doc.styles.add("GONE", font="kestrin-no-such-font.ttf")
    gone.set_extended_font_data("Kestrin No Such Family")
    msp.add_text("Sans: Привет, мир! 45%%d %%c20 ✓", dxfattribs={"style": "BYFILE", "height": 5, "insert": (0, 20)})
    msp.add_text("Serif bold: Ёлка ≤ 5 %%p0,1", dxfattribs={"style": "BYFAMILY", "height": 5, "insert": (0, 10)})
    msp.add_text("Stand-in", dxfattribs={"style": "GONE", "height": 5, "insert": (0, 0)})
    doc.saveas(path)


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    dimension(os.path.join(outdir, "dimension.dxf"))
    hatch(os.path.join(outdir, "hatch.dxf"))
    truetype(os.path.join(outdir, "truetype.dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
