#!/usr/bin/python3
"""Reads a drawing with ezdxf, an independent DXF reader, and audits it.
Usage: check_dxf.py FILE [TEXT...]: each TEXT must be the string of a text
entity in model space."""
import sys

import ezdxf


def main():
    path, texts = sys.argv[1], sys.argv[2:]
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        for error in auditor.errors:
            print(f"audit error: {error}")
        sys.exit(1)
    found = [e.dxf.text for e in doc.modelspace().query("TEXT")]
    missing = [t for t in texts if t not in found]
    if missing:
        sys.exit(f"{path}: no text {missing}; texts are {found}")
    print(f"{path}: {doc.dxfversion}, {len(doc.modelspace())} entities in model space, audit clean")


if __name__ == "__main__":
    main()
