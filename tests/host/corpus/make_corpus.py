"""Writes a corpus of drawings of every DXF version the host reads, and its list.

Usage: make_corpus.py OUTDIR

Drawings made by ezdxf in every version it writes (R12, R2000 ... R2018), in
several code pages up to R2004 and UTF-8 after, ASCII and binary, each holding
texts outside CP1251 ("≤", "✓", Chinese); and small drawings written here by
hand for the versions and forms ezdxf does not write (R10, R13, R14, an R12
file without handles, one with only an ENTITIES section, CR LF line ends, codes
without padding, DOS and ISO code pages).

OUTDIR/corpus.json lists every file: its version, form and code page, the text
an edit is to change (its handle, or the point to pick it at when the drawing
has no handles), that text's string (UTF-8), and the Python codec that reads
its strings where ezdxf would not know it from the file ("encoding").
"""
import json
import os
import sys

import ezdxf

EDITED = "Допуск ≤ 0,1 ✓ 中文"          # the text an edit changes
CODECS = {"ANSI_1250": "cp1250", "ANSI_1251": "cp1251", "ANSI_1252": "cp1252", "ANSI_932": "cp932",
          "ANSI_936": "gbk", "ANSI_949": "cp949", "ANSI_950": "cp950"}
OTHERS = ["Сталь 45 ГОСТ 1050", "plain ASCII %%c10", "≥ ± ° ∅ 日本"]


def ezdxf_drawing(version, codepage=None, block="ТАБЛИЧКА"):
    doc = ezdxf.new(version)
    if codepage:
        doc.encoding = CODECS[codepage]  # also the header's $DWGCODEPAGE
    msp = doc.modelspace()
    edited = msp.add_text(EDITED, dxfattribs={"height": 2.5, "insert": (10, 10)})
    for i, text in enumerate(OTHERS):
        msp.add_text(text, dxfattribs={"height": 2.5, "insert": (10, 20 + 10 * i)})
    msp.add_line((0, 0), (100, 50), dxfattribs={"color": 3})
    msp.add_circle((50, 50), 5)
    name = block
    block = doc.blocks.new(name)
    block.add_line((0, 0), (40, 0))
    block.add_attdef("ИМЯ", (1, 1), dxfattribs={"height": 2.5})
    ref = msp.add_blockref(name, (100, 100))
    ref.add_auto_attribs({"ИМЯ": "Иванов ✓"})
    if version != "R12":
        msp.add_mtext("Строка один\\Pline two ≤ 3", dxfattribs={"char_height": 2.5, "insert": (0, 200)})
        msp.add_lwpolyline([(0, 0), (10, 0), (10, 10)])
    return doc, edited.dxf.handle


# A minimal drawing of one version, written line by line.
def hand_written(acadver, codepage, text, handles=True, header=True, crlf=False, plain_codes=False,
                 encoding="ascii", modern=None):
    modern = acadver >= "AC1012" if modern is None else modern
    tags = []
    if header:
        tags += [(0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, acadver)]
        if codepage:
            tags += [(9, "$DWGCODEPAGE"), (3, codepage)]
        if handles:
            tags += [(9, "$HANDSEED"), (5, "FFFF")]
        tags += [(0, "ENDSEC")]
    tags += [(0, "SECTION"), (2, "ENTITIES")]
    entity = [(0, "TEXT")]
    if handles:
        entity += [(5, "2A")]
    if modern:
        entity += [(330, "1F"), (100, "AcDbEntity")]
    entity += [(8, "0")]
    if modern:
        entity += [(100, "AcDbText")]
    entity += [(10, "10.0"), (20, "10.0"), (30, "0.0"), (40, "2.5"), (1, text)]
    if modern:
        entity += [(100, "AcDbText")]
    tags += entity
    tags += [(0, "LINE")] + ([(5, "2B")] if handles else []) + [(8, "0"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                                                                 (11, "5.0"), (21, "5.0"), (31, "0.0")]
    tags += [(0, "ENDSEC"), (0, "EOF")]
    end = "\r\n" if crlf else "\n"
    lines = []
    for code, value in tags:
        lines.append((str(code) if plain_codes else f"{code:>3}") + end)
        lines.append(value + end)
    return "".join(lines).encode(encoding, errors="strict")


def known_to_ezdxf(acadver, codepage):
    """False when ezdxf would take the file's strings for code page 1252."""
    if acadver >= "AC1021":
        return True
    return bool(codepage) and codepage.upper().startswith("ANSI_")


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    files = []

    def note(name, version, form, codepage, handle, point=None):
        files.append({"file": name, "version": version, "form": form, "codepage": codepage,
                      "handle": handle, "point": point, "text": EDITED if handle or point else None})

    made = [("R12", None), ("R12", "ANSI_1251"), ("R12", "ANSI_1252"),
            ("R2000", "ANSI_1251"), ("R2000", "ANSI_1252"), ("R2000", "ANSI_932"), ("R2000", "ANSI_936"),
            ("R2004", "ANSI_1250"), ("R2004", "ANSI_949"), ("R2004", "ANSI_950"),
            ("R2007", None), ("R2010", None), ("R2013", None), ("R2018", None)]
    for version, codepage in made:
        doc, handle = ezdxf_drawing(version, codepage)
        name = f"ezdxf-{version}-{codepage or 'default'}.dxf"
        doc.saveas(os.path.join(outdir, name))
        note(name, doc.dxfversion, "ascii", codepage, handle)
    for version in ("R12", "R2000", "R2018"):
        # ezdxf cannot read back the Cyrillic block names of its own binary R12 files.
        doc, handle = ezdxf_drawing(version, "ANSI_1251" if version != "R2018" else None, block="PLATE")
        name = f"ezdxf-{version}-binary.dxf"
        doc.saveas(os.path.join(outdir, name), fmt="bin")
        note(name, doc.dxfversion, "binary", None, handle)

    # CR LF line ends of an ezdxf drawing.
    with open(os.path.join(outdir, "ezdxf-R2018-default.dxf"), "rb") as f:
        data = f.read()
    with open(os.path.join(outdir, "ezdxf-R2018-crlf.dxf"), "wb") as f:
        f.write(data.replace(b"\n", b"\r\n"))
    note("ezdxf-R2018-crlf.dxf", "AC1032", "ascii", None,
         next(x["handle"] for x in files if x["file"] == "ezdxf-R2018-default.dxf"))

    hand = [
        ("hand-R10.dxf", "AC1006", dict(codepage=None, text="Привет", encoding="cp1251")),
        ("hand-R12-nohandles.dxf", "AC1009", dict(codepage="ANSI_1251", text="Строка", handles=False, encoding="cp1251")),
        ("hand-R12-entities-only.dxf", "AC1009", dict(codepage=None, text="Текст", handles=False, header=False,
                                                      encoding="cp1251")),
        ("hand-R12-dos866.dxf", "AC1009", dict(codepage="dos866", text="Чертёж № 5", encoding="cp866")),
        ("hand-R13.dxf", "AC1012", dict(codepage="ANSI_1252", text="Café", encoding="cp1252")),
        ("hand-R14-crlf.dxf", "AC1014", dict(codepage="ANSI_1251", text="Лист 1", crlf=True, encoding="cp1251")),
        ("hand-R2000-plain-codes.dxf", "AC1015", dict(codepage="ANSI_1251", text="Масштаб", plain_codes=True,
                                                      encoding="cp1251")),
        ("hand-R2004-iso8859-5.dxf", "AC1018", dict(codepage="ISO8859-5", text="Изм.", encoding="iso8859_5")),
        ("hand-R2007.dxf", "AC1021", dict(codepage="ANSI_1252", text="≤ 0,5 ✓", encoding="utf-8")),
        ("hand-R2010.dxf", "AC1024", dict(codepage="ANSI_1252", text="中文 ≥", encoding="utf-8")),
        ("hand-R2013.dxf", "AC1027", dict(codepage="ANSI_1252", text="Ø 20", encoding="utf-8")),
        ("hand-R2018-escape.dxf", "AC1032", dict(codepage="ANSI_1252", text="\\U+2264 as written", encoding="utf-8")),
    ]
    for name, acadver, kw in hand:
        data = hand_written(acadver, **kw)
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)
        handles = kw.get("handles", True)
        files.append({"file": name, "version": acadver, "form": "ascii", "codepage": kw["codepage"],
                      "handle": "2A" if handles else None, "point": None if handles else [10.5, 10.5],
                      "text": kw["text"].replace("\\U+2264", "≤"),
                      "encoding": kw["encoding"] if known_to_ezdxf(acadver, kw["codepage"]) is False else None})
    with open(os.path.join(outdir, "corpus.json"), "w", encoding="utf-8") as f:
        json.dump(files, f, ensure_ascii=False, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
