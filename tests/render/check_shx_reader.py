#!/usr/bin/python3
"""Checks the renderer's reading of a shape font against ezdxf's reading of
the same file: for every shape, where the pen ends and the box of what is
drawn must agree.

    check_shx_reader.py SHXDUMP FONT.shx
"""
import math
import subprocess
import sys

import ezdxf.shapefile as shapefile
from ezdxf import path as ezpath

TOLERANCE = 0.05  # font units; arcs are flattened differently


def ezdxf_shape(font, number):
    p = font.render_shape(number)
    end = p.end
    points = []
    for sub in p.sub_paths() if p.has_sub_paths else [p]:
        if len(sub) == 0:
            continue
        points.extend(sub.flattening(0.01))
    if not points:
        return end, None
    xs = [v.x for v in points]
    ys = [v.y for v in points]
    return end, (min(xs), min(ys), max(xs), max(ys))


def main():
    shxdump, font_file = sys.argv[1:3]
    font = shapefile.readfile(font_file)
    out = subprocess.run([shxdump, font_file], check=True, capture_output=True, text=True).stdout.splitlines()
    head = out[0].split()
    failures = []
    if (int(head[1]), int(head[2])) != (font.above, font.below):
        failures.append(f"font record: ours {head[1:]} ezdxf {(font.above, font.below)}")
    ours = {}
    for line in out[1:]:
        f = line.split()
        ours[int(f[0])] = f[1:]
    theirs = sorted(n for n in font.shapes if n != 0)
    if sorted(ours) != theirs:
        failures.append(f"shape numbers differ: only ours {sorted(set(ours) - set(theirs))}, only ezdxf {sorted(set(theirs) - set(ours))}")
    for n in theirs:
        if n not in ours:
            continue
        end, box = ezdxf_shape(font, n)
        f = ours[n]
        adv = (float(f[0]), float(f[1]))
        if not (math.isclose(adv[0], end.x, abs_tol=TOLERANCE) and math.isclose(adv[1], end.y, abs_tol=TOLERANCE)):
            failures.append(f"shape {n}: pen ends at {adv}, ezdxf {end.x:.4f},{end.y:.4f}")
        if box is None:
            if f[2] != "-":
                failures.append(f"shape {n}: draws strokes, ezdxf draws none")
            continue
        if f[2] == "-":
            failures.append(f"shape {n}: draws nothing, ezdxf {box}")
            continue
        mine = tuple(float(v) for v in f[2:6])
        if any(not math.isclose(a, b, abs_tol=TOLERANCE) for a, b in zip(mine, box)):
            failures.append(f"shape {n}: box {mine}, ezdxf {tuple(round(v, 4) for v in box)}")
    for msg in failures:
        print(msg)
    print(f"{len(theirs)} shapes compared, {len(failures)} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
