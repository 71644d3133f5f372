"""Opens every drawing of the corpus in cadhost and checks what comes back.

Usage: check_corpus.py CADHOST MODULE_DIR WORKDIR

For each drawing of make_corpus.py:
- opened and saved unchanged, the file is byte for byte the original;
- after EKestrin appends a word to one text (picked by handle, or by position
  in a drawing without handles), ezdxf reads both files and finds every
  header variable, table entry, block and entity equal but that text, whose
  string is the original's with the word after it;
- R12 drawings (with handles, without, and with only an ENTITIES section)
  take two new lines from the palette, one in the own style "ZOR" that the
  palette adds: ezdxf reads them back, and the new records are R12's own (no
  subclass markers or owners; handles only where the drawing has them).
"""
import json
import os
import re
import subprocess
import sys

import ezdxf
from ezdxf import recover

WORD = " правка"


def run(cadhost, args, script, work):
    path = os.path.join(work, "session.ks")
    with open(path, "w", encoding="utf-8") as f:
        f.write(script)
    env = dict(os.environ, KESTRIN_DOSDEVICES=os.path.join(work, ".dosdevices"),
               KESTRIN_REGISTRY=os.path.join(work, "registry.reg"),
               XDG_STATE_HOME=os.path.join(work, ".state"))
    done = subprocess.run([cadhost] + args + [path], cwd=work, env=env, capture_output=True, timeout=60)
    if done.returncode != 0:
        raise RuntimeError(f"cadhost {' '.join(args)} failed ({done.returncode}): "
                           f"{done.stdout.decode(errors='replace')}{done.stderr.decode(errors='replace')}")


# ezdxf writes the hexadecimal digits of \U+xxxx escapes in lower case but
# reads back only upper case ones; the checker reads both.
ezdxf.lldxf.encoding.BACKSLASH_UNICODE = re.compile(r"(\\U\+[A-Fa-f0-9]{4})")


def load(path, encoding):
    with open(path, "rb") as f:
        binary = f.read(22) == b"AutoCAD Binary DXF\r\n\x1a\x00"
    if encoding or binary:
        doc = ezdxf.readfile(path, encoding=encoding)
    else:
        doc, auditor = recover.readfile(path)
    for e in doc.modelspace().query("TEXT"):
        e.dxf.text = ezdxf.lldxf.encoding.decode_dxf_unicode(e.dxf.text)
    return doc


def layout_block(name):
    return name.upper() in ("*MODEL_SPACE", "$MODEL_SPACE")


def attribs(entity):
    return {k: (tuple(v) if isinstance(v, ezdxf.math.Vec3) else v) for k, v in entity.dxfattribs().items()}


def described(entity):
    return f"{entity.dxftype()} {entity.dxf.get('handle', '?')}"


def compare(original, edited, handle, expected, raw):
    """Differences between the two documents other than the edited text's string.
    `raw` is the original file: header variables ezdxf makes up for what a
    file lacks (new GUIDs at every load) are not compared."""
    faults = []
    in_file = set(re.findall(rb"\$[A-Z0-9_]+", raw))
    # ezdxf sets the time stamps anew when it loads some drawings.
    stamps = {"$HANDSEED", "$TDCREATE", "$TDUCREATE", "$TDUPDATE", "$TDUUPDATE", "$TDINDWG", "$TDUSRTIMER"}
    for name in original.header.varnames():
        if name in stamps or name.encode() not in in_file:
            continue
        if original.header.get(name) != edited.header.get(name):
            faults.append(f"header {name}: {original.header.get(name)!r} became {edited.header.get(name)!r}")
    for table in ("layers", "styles", "linetypes", "dimstyles", "appids"):
        a = {e.dxf.name: attribs(e) for e in getattr(original, table)}
        b = {e.dxf.name: attribs(e) for e in getattr(edited, table)}
        if a != b:
            faults.append(f"table {table} differs")
    blocks_a = {b.name: [attribs(e) for e in b] for b in original.blocks if not layout_block(b.name)}
    blocks_b = {b.name: [attribs(e) for e in b] for b in edited.blocks if not layout_block(b.name)}
    if blocks_a != blocks_b:
        faults.append("block definitions differ")
    a = list(original.modelspace())
    b = list(edited.modelspace())
    if len(a) != len(b):
        return faults + [f"{len(a)} entities became {len(b)}"]
    found = False
    for i, (x, y) in enumerate(zip(a, b)):
        ax, by = attribs(x), attribs(y)
        is_edited = x.dxftype() == "TEXT" and (x.dxf.get("handle") == handle if handle else x.dxf.text == expected)
        if is_edited:
            found = True
            if by.get("text") != expected + WORD:
                faults.append(f"{described(x)}: text {by.get('text')!r}, expected {expected + WORD!r}")
            ax.pop("text", None)
            by.pop("text", None)
        if ax != by:
            faults.append(f"entity {i} {described(x)}: {ax} became {by}")
        if x.dxftype() == "INSERT":
            if [attribs(t) for t in x.attribs] != [attribs(t) for t in y.attribs]:
                faults.append(f"attributes of {described(x)} differ")
    if not found:
        faults.append(f"the edited text {handle or expected!r} is not in the original")
    return faults


def new_records(path, before):
    """The TEXT and STYLE records of `path` (as tag lists) that `before` lacks."""
    def records(raw):
        lines = raw.decode("cp1251").splitlines()
        tags = [(lines[i].strip(), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]
        out, current = [], None
        for code, value in tags:
            if code == "0":
                current = [(code, value)]
                out.append(current)
            elif current is not None:
                current.append((code, value))
        return [r for r in out if r[0][1] in ("TEXT", "STYLE")]
    with open(path, "rb") as f:
        after = records(f.read())
    old = records(before)
    return [r for r in after if r not in old]


def palette_in_r12(cadhost, modules, work, source, item, original):
    """Faults of two palette lines composed in an R12 drawing."""
    out = os.path.join(work, "palette-" + item["file"])
    script = ('command CKestrin\npoint 50,50\ntype "Первая строка"\nkey enter\npoint 50,40\n'
              'click "Загрузка шрифта ZOR.SHX"\ntype "Вторая"\nclick "Выход"\n')
    run(cadhost, ["--open", source, "--load", os.path.join(modules, "Kestrin.arx"), "--support", modules,
                  "--save", out], script, work)
    faults = []
    doc = load(out, item.get("encoding"))
    texts = [e.dxf.text for e in doc.modelspace().query("TEXT")]
    for wanted in ("Первая строка", "Вторая"):
        if wanted not in texts:
            faults.append(f"palette line {wanted!r} missing; texts {texts}")
    if "ZOR" not in [s.dxf.name for s in doc.styles]:
        faults.append("no style ZOR")
    with open(out, "rb") as f:
        sections = [m.decode() for m in re.findall(rb"SECTION\r?\n *2\r?\n(\w+)", f.read())]
    canonical = ["HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"]
    if sections != sorted(sections, key=canonical.index):
        faults.append(f"sections out of order: {sections}")
    added = new_records(out, original)
    if len(added) < 3:
        faults.append(f"{len(added)} new TEXT/STYLE records, expected 2 texts and a style")
    for record in added:
        codes = {code for code, _ in record}
        if codes & {"100", "330"}:
            faults.append(f"new {record[0][1]} holds subclass markers or owners: {record}")
        if ("5" in codes) != bool(item["handle"]):
            faults.append(f"new {record[0][1]}: handle {'missing' if item['handle'] else 'invented'}: {record}")
    return faults


def main():
    cadhost, modules, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    corpus = os.path.join(work, "corpus")
    subprocess.run(["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "make_corpus.py"), corpus], check=True)
    with open(os.path.join(corpus, "corpus.json"), encoding="utf-8") as f:
        files = json.load(f)
    failures = []
    for item in files:
        source = os.path.join(corpus, item["file"])
        with open(source, "rb") as f:
            original = f.read()
        same = os.path.join(work, "same-" + item["file"])
        try:
            run(cadhost, ["--open", source, "--save", same], "", work)
            with open(same, "rb") as f:
                if f.read() != original:
                    failures.append(f"{item['file']}: saved unchanged, the file differs from the original")
            if not item["text"]:
                continue
            edited = os.path.join(work, "edited-" + item["file"])
            pick = f"pick {item['handle']}" if item["handle"] else "pick at {},{}".format(*item["point"])
            script = f'command EKestrin\n{pick}\nkey end\ntype "{WORD}"\nclick "OK"\nescape\n'
            run(cadhost, ["--open", source, "--load", os.path.join(modules, "Kestrin.arx"), "--save", edited],
                script, work)
            encoding = item.get("encoding")
            faults = compare(load(source, encoding), load(edited, encoding), item["handle"], item["text"], original)
            if item["version"] <= "AC1009" and item["form"] == "ascii":
                faults += palette_in_r12(cadhost, modules, work, source, item, original)
            failures += [f"{item['file']}: {fault}" for fault in faults]
        except Exception as e:  # one drawing's failure must not hide the others'
            failures.append(f"{item['file']}: {e}")
    for f in failures:
        print(f)
    print(f"{len(files)} drawings, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
