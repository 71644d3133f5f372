#!/usr/bin/python3
"""Reads a drawing with ezdxf and checks its model-space texts, in order.

Usage: check_lines.py FILE [TEXT...]
Each TEXT describes one TEXT entity: its string, then ";key=value" pairs:
  height, rotation, oblique (degrees), width, x, y, halign, style,
  styleoblique (degrees), stylewidth (the entity's text style record).
The drawing must hold exactly as many texts as descriptions are given, and pass
ezdxf's audit."""
import math
import sys

import ezdxf


def fail(message):
    sys.exit(f"check_lines: {message}")


def close(a, b):
    return math.isclose(a, b, rel_tol=1e-9, abs_tol=1e-9)


def check_text(doc, index, entity, wanted_text):
    string, *pairs = wanted_text.split(";")
    where = f"text {index + 1}"
    if entity.dxf.text != string:
        fail(f"{where}: string {entity.dxf.text!r}, expected {string!r}")
    style = doc.styles.get(entity.dxf.style)
    numbers = {
        "height": lambda: entity.dxf.height,
        "rotation": lambda: entity.dxf.get("rotation", 0.0),
        "oblique": lambda: entity.dxf.get("oblique", 0.0),
        "width": lambda: entity.dxf.get("width", 1.0),
        "x": lambda: entity.dxf.insert.x,
        "y": lambda: entity.dxf.insert.y,
        "halign": lambda: entity.dxf.get("halign", 0),
        "styleoblique": lambda: style.dxf.get("oblique", 0.0),
        "stylewidth": lambda: style.dxf.get("width", 1.0),
    }
    for pair in pairs:
        key, _, value = pair.partition("=")
        if key == "style":
            if entity.dxf.style != value:
                fail(f"{where} {string!r}: style {entity.dxf.style!r}, expected {value!r}")
        elif key in numbers:
            found = float(numbers[key]())
            if not close(found, float(value)):
                fail(f"{where} {string!r}: {key} {found}, expected {value}")
        else:
            fail(f"unknown key {key!r} in {wanted_text!r}")


def main():
    if len(sys.argv) < 2:
        fail("usage: check_lines.py FILE [TEXT...]")
    path, wanted = sys.argv[1], sys.argv[2:]
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        fail(f"{path}: audit errors {[str(e) for e in auditor.errors]}")
    texts = list(doc.modelspace().query("TEXT"))
    if len(texts) != len(wanted):
        fail(f"{path}: {len(texts)} texts {[t.dxf.text for t in texts]}, expected {len(wanted)}")
    for index, (entity, wanted_text) in enumerate(zip(texts, wanted)):
        check_text(doc, index, entity, wanted_text)
    print(f"{path}: {len(texts)} texts as expected")


if __name__ == "__main__":
    main()
