#!/usr/bin/python3
"""Reads a drawing EKestrin edited with ezdxf, audits it and checks strings.
Usage: check_edit.py FILE CLAIM...  where each CLAIM is one of
  text=S       model space holds a TEXT with string S
  notext=S     model space holds no TEXT with string S
  attrib:T=S   an attribute with tag T holds S
  attdef=T     a block definition holds an attribute definition with tag T
  mtext=S      model space holds an MTEXT whose text is S"""
import sys

import ezdxf


def main():
    path, claims = sys.argv[1], sys.argv[2:]
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        sys.exit(f"{path}: audit errors: {[str(e) for e in auditor.errors]}")
    msp = doc.modelspace()
    texts = [e.dxf.text for e in msp.query("TEXT")]
    mtexts = [e.text for e in msp.query("MTEXT")]
    attribs = {(a.dxf.tag, a.dxf.text) for i in msp.query("INSERT") for a in i.attribs}
    attdefs = {e.dxf.tag for b in doc.blocks for e in b.query("ATTDEF")}
    failed = []
    for claim in claims:
        kind, _, value = claim.partition("=")
        if kind == "text":
            ok = value in texts
        elif kind == "notext":
            ok = value not in texts
        elif kind.startswith("attrib:"):
            ok = (kind[len("attrib:"):], value) in attribs
        elif kind == "attdef":
            ok = value in attdefs
        elif kind == "mtext":
            ok = value in mtexts
        else:
            sys.exit(f"unknown claim {claim}")
        if not ok:
            failed.append(claim)
    if failed:
        sys.exit(f"{path}: {failed} do not hold; texts {texts}, mtexts {mtexts}, "
                 f"attributes {sorted(attribs)}, attribute definitions {sorted(attdefs)}")
    print(f"{path}: audit clean, {len(claims)} claims hold")


if __name__ == "__main__":
    main()
