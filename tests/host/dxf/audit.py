"""Reads a DXF file with ezdxf's recover loader and audits it.

Usage: audit.py FILE...   Exit status 1 when a file has audit errors (printed),
2 when ezdxf cannot read it at all.
"""
import sys

import ezdxf
from ezdxf import recover


def main(paths):
    status = 0
    for path in paths:
        try:
            doc, auditor = recover.readfile(path)
        except (IOError, ezdxf.DXFStructureError) as e:
            print(f"{path}: cannot read: {e}")
            return 2
        second = doc.audit()
        errors = list(auditor.errors) + list(second.errors)
        for e in errors:
            print(f"{path}: audit error {e.code}: {e.message}")
        if errors:
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
