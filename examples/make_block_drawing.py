#!/usr/bin/python3
"""Writes a small drawing made by another program (ezdxf) for the EKestrin
examples: a block "TITLE" with an attribute definition and a text, one
insertion of it with the attribute filled in, a text, a multiline text and a
line in model space. Code page 1251, as the host expects.
Usage: make_block_drawing.py OUTPUT.dxf  (prints the handles the scripts use)"""
import sys

import ezdxf


def main():
    out = sys.argv[1]
    doc = ezdxf.new("R2000")
    doc.encoding = "cp1251"  # also sets $DWGCODEPAGE to ANSI_1251
    block = doc.blocks.new(name="TITLE")
    block.add_text("Штамп", dxfattribs={"insert": (0, 10), "height": 2.5})
    attdef = block.add_attdef("NAME", insert=(0, 0), text="Фамилия", dxfattribs={"height": 2.5})
    attdef.dxf.prompt = "Фамилия?"
    msp = doc.modelspace()
    insert = msp.add_blockref("TITLE", (100, 100))
    insert.add_auto_attribs({"NAME": "Иванов"})
    text = msp.add_text("Строка", dxfattribs={"insert": (10, 20), "height": 3.5})
    mtext = msp.add_mtext("Примечание", dxfattribs={"insert": (0, -30), "char_height": 2.5})
    line = msp.add_line((0, 0), (5, 5))
    doc.saveas(out, encoding="cp1251")
    attrib = insert.attribs[0]
    print(f"insert {insert.dxf.handle} attrib {attrib.dxf.handle} text {text.dxf.handle} "
          f"mtext {mtext.dxf.handle} line {line.dxf.handle} "
          f"block text {block[0].dxf.handle} attdef {attdef.dxf.handle}")


if __name__ == "__main__":
    main()
