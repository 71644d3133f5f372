#!/usr/bin/python3
"""Writes the drawings of the palette's scripts on texts of another program
(ezdxf, code page 1251):
- MOVED.dxf: two texts on the layer "NOTES" with a colour of their own and
  extended data of the application "KESTRIN_TEST", one left-aligned, one
  right-aligned;
- ABSURD.dxf: one text rotated 1.7e308 degrees, 1e30 high.
Usage: make_moved_texts.py MOVED.dxf ABSURD.dxf  (prints the handles the scripts use)"""
import sys

import ezdxf


def main():
    out = sys.argv[1]
    doc = ezdxf.new("R2000")
    doc.encoding = "cp1251"
    doc.layers.add("NOTES", color=5)
    doc.appids.add("KESTRIN_TEST")
    msp = doc.modelspace()
    handles = []
    for string, point, halign in (("Перенос", (10, 20), 0), ("Отмена", (50, 60), 2)):
        text = msp.add_text(string, dxfattribs={"insert": point, "height": 3.5, "layer": "NOTES",
                                                "color": 1, "halign": halign})
        if halign:
            text.dxf.align_point = point
        text.set_xdata("KESTRIN_TEST", [(1000, "метка " + string), (1070, 42)])
        handles.append(text.dxf.handle)
    doc.saveas(out, encoding="cp1251")
    print("moved", handles[0], "cancelled", handles[1])

    doc = ezdxf.new("R2000")
    doc.encoding = "cp1251"
    text = doc.modelspace().add_text("Крутой", dxfattribs={"insert": (5, 5), "height": 1e30, "rotation": 1.7e308})
    doc.saveas(sys.argv[2], encoding="cp1251")
    print("absurd", text.dxf.handle)


if __name__ == "__main__":
    main()
