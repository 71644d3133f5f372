#!/usr/bin/python3
"""Reads a drawing with ezdxf, audits it, lists its texts and, when texts are
given, checks them in order.

Usage: show_drawing.py FILE [TEXT...]
Each TEXT is a string followed by ";key=value" pairs: height, x, y,
rotation and oblique (degrees). Exits non-zero when the drawing does not
read, the audit finds errors, or a text differs."""
import math
import sys

import ezdxf
from ezdxf import recover


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: show_drawing.py FILE [TEXT...]")
    path, wanted = sys.argv[1], sys.argv[2:]
    doc, auditor = recover.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        sys.exit(f"{path}: ezdxf audit found {len(auditor.errors)} errors")
    texts = [e for e in doc.modelspace() if e.dxftype() == "TEXT"]
    print(f"{path}: {len(texts)} texts, ezdxf audit clean")
    for t in texts:
        print(f"  {t.dxf.text!r} at ({t.dxf.insert.x:g}, {t.dxf.insert.y:g}) "
              f"height {t.dxf.height:g} style {t.dxf.style} oblique {t.dxf.get('oblique', 0):g}")
    if not wanted:
        return
    if len(texts) != len(wanted):
        sys.exit(f"{path}: {len(texts)} texts, expected {len(wanted)}")
    for entity, description in zip(texts, wanted):
        string, *pairs = description.split(";")
        if entity.dxf.text != string:
            sys.exit(f"text {entity.dxf.text!r}, expected {string!r}")
        values = {"height": entity.dxf.height, "x": entity.dxf.insert.x, "y": entity.dxf.insert.y,
                  "rotation": entity.dxf.get("rotation", 0.0), "oblique": entity.dxf.get("oblique", 0.0)}
        for pair in pairs:
            key, _, value = pair.partition("=")
            if not math.isclose(values[key], float(value), abs_tol=1e-9):
                sys.exit(f"text {string!r}: {key} {values[key]}, expected {value}")


if __name__ == "__main__":
    main()
