"""Opens every drawing of the corpus in cadhost and checks what comes back.

Usage: check_corpus.py CADHOST MODULE_DIR WORKDIR

For each drawing of make_corpus.py:
- opened and saved unchanged, the file is byte for byte the original;
- after EKestrin appends a word to one text (picked by handle, or by position
  in a drawing without handles), ezdxf reads both files and finds every
  header variable, table entry, block and entity equal but that text, whose
  string is the original's with the word after it.
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
               KESTRIN_REGISTRY=os.path.join(work, "registry.reg"))
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
    for name in original.header.varnames():
        if name == "$HANDSEED" or name.encode() not in in_file:
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
            failures += [f"{item['file']}: {fault}" for fault in faults]
        except Exception as e:  # one drawing's failure must not hide the others'
            failures.append(f"{item['file']}: {e}")
    for f in failures:
        print(f)
    print(f"{len(files)} drawings, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
